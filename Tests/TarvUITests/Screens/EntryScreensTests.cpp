#include <gtest/gtest.h>

#include "TarvFeatures/App/AppState.hpp"
#include "TarvFeatures/Repositories/RepositoryRows.hpp"
#include "TarvUI/Components/CloneView.hpp"
#include "TarvUI/Components/PublishRepositoryView.hpp"
#include "TarvUI/Components/RepositoryPickerView.hpp"
#include "TarvUI/Components/SignInView.hpp"
#include "TarvUI/Screens/OnboardingScreen.hpp"
#include "TarvUI/Screens/WelcomeScreen.hpp"
#include "TarvUITests/Overlays/OverlayFixtures.hpp"
#include "TarvUITests/WorkspaceFixtures.hpp"

namespace tarv::ui {
namespace {

using core::AppCommand;
using features::AppAction;
using features::AppState;
using features::OnboardingAction;
using features::OnboardingState;
using features::OverlayAction;
using terminal::Point;
using terminal::Rect;
using terminal::Size;
using namespace fixtures;

core::RepositoryEntry entry(std::string name, std::int64_t lastOpened, std::optional<std::string> remote = std::nullopt,
                            std::optional<bool> isPrivate = std::nullopt) {
    core::RepositoryEntry e;
    e.path = "/code/" + name;
    e.name = std::move(name);
    e.lastOpened = lastOpened;
    e.remoteURL = std::move(remote);
    e.isPrivate = isPrivate;
    return e;
}

TEST(WelcomeScreenTests, EmptyRegistryGeometryOnEightyByTwentyFour) {
    AppState state;
    UIFrame frame = fixtures::frame(Size{80, 24});
    WelcomeScreen::draw(frame, state);
    EXPECT_EQ(region(frame, 0), Rect(6, 6, 68, 12));
    const std::string recents = core::Text::recents().render(core::Language::en);
    for (std::int64_t y = 0; y < 24; ++y) EXPECT_EQ(row(frame, y).find(recents), std::string::npos);
    EXPECT_EQ(press(frame, 10, 9), std::vector<AppAction>{AppAction(AppAction::Command{AppCommand::addRepository})});
    EXPECT_TRUE(press(frame, 10, 16).empty());  // the footer registers nothing
}

TEST(WelcomeScreenTests, AtMostEightRecentsMostRecentFirstWithTheirGlyphs) {
    AppState state;
    for (int i = 0; i < 12; ++i) state.repositories.push_back(entry("repo" + std::to_string(i), i));
    state.repositories[11].remoteURL = "git@host:a/b.git";
    state.repositories[10].remoteURL = "git@host:a/c.git";
    state.repositories[10].isPrivate = true;
    state.repositories.push_back(entry("tie", 11));  // same time as repo11: after it
    UIFrame frame = fixtures::frame(Size{80, 30});
    WelcomeScreen::draw(frame, state);
    const Rect box = region(frame, 0);
    EXPECT_EQ(box.size.height, 22);
    const std::int64_t first = box.minY() + 1 + 7;
    EXPECT_NE(row(frame, first).find("◇ repo11"), std::string::npos) << row(frame, first);
    EXPECT_NE(row(frame, first + 1).find("▫ tie"), std::string::npos);
    EXPECT_NE(row(frame, first + 2).find("◆ repo10"), std::string::npos);
    EXPECT_NE(row(frame, first + 7).find("repo5"), std::string::npos);
    EXPECT_EQ(row(frame, first + 8).find("repo4"), std::string::npos);
    EXPECT_EQ(press(frame, box.minX() + 3, first),
              std::vector<AppAction>{AppAction(AppAction::OpenRepository{"/code/repo11"})});
}

// The recent rows stop above the footer on a short screen instead of
// running over it.
TEST(WelcomeScreenTests, RecentRowsStopAboveTheFooter) {
    AppState state;
    for (int i = 0; i < 8; ++i) state.repositories.push_back(entry("repo" + std::to_string(i), i));
    UIFrame frame = fixtures::frame(Size{60, 14});
    WelcomeScreen::draw(frame, state);
    const Rect box = region(frame, 0);
    const std::int64_t footer = box.maxY() - 2;
    EXPECT_EQ(row(frame, footer).substr(box.minX() + 2 + 3 * 0, 0), "");
    EXPECT_NE(row(frame, footer).find("⌃R"), std::string::npos) << row(frame, footer);
    EXPECT_TRUE(press(frame, box.minX() + 3, footer).empty());
}

TEST(RepositoryPickerViewTests, GroupsViewportAndTheCurrentMark) {
    AppState state = fixtures::stateWith({fixtures::file("a.txt")});
    state.workspace->path = "/code/b";
    for (const auto& name : {"a", "b", "c", "d", "e"}) state.repositories.push_back(entry(name, 1, "git@h:o/" + std::string(name)));
    UIFrame frame = fixtures::frame(Size{80, 30});
    features::RepositoryPickerState picker;
    RepositoryPickerView::draw(frame, state, picker, nullptr);
    EXPECT_EQ(overlayBox(frame), Rect(0, 2, 50, 22));
    const auto groups = features::RepositoryRows::groups(state.repositories, "");
    EXPECT_EQ(frame.viewports.picker, 16 - static_cast<std::int64_t>(groups.size()));
    ASSERT_TRUE(frame.cursor);
    // The open repository's row carries "●" (it has changes) in the accent
    // colour in the row's second-to-last column, in every group that lists
    // it (recent and its owner's); no other row has a mark.
    int marks = 0;
    for (std::int64_t y = 5; y < 22; ++y) {
        if (cell(frame, 46, y).character != "●") continue;
        ++marks;
        EXPECT_NE(row(frame, y).find(" b "), std::string::npos) << row(frame, y);
        EXPECT_EQ(cell(frame, 46, y).style.foreground, frame.styles.theme.accent.color());
    }
    EXPECT_EQ(marks, 2);
}

features::ClonePromptState loadedClone(int count) {
    features::ClonePromptState prompt("/home/u/code");
    std::vector<core::GitHubRepository> repositories;
    for (int i = 0; i < count; ++i) repositories.push_back(core::GitHubRepository{"o/r" + std::to_string(i), i % 2 == 0, "", false});
    prompt.remote = features::GitHubRepositoryList::loaded(repositories);
    return prompt;
}

TEST(CloneViewTests, ListHeights) {
    struct Case {
        Size size;
        bool signedOut;
        std::int64_t height;
        std::int64_t picker;
    };
    for (const auto& c : {Case{{120, 40}, false, 25, 11}, Case{{80, 24}, false, 18, 4}, Case{{80, 24}, true, 14, 8}}) {
        UIFrame frame = fixtures::frame(c.size);
        auto prompt = c.signedOut ? features::ClonePromptState("/home/u") : loadedClone(20);
        CloneView::draw(frame, prompt);
        EXPECT_EQ(overlayBox(frame).size.height, c.height) << c.size.height;
        EXPECT_EQ(overlayBox(frame).size.width, std::min<std::int64_t>(c.size.width - 4, 80));
        EXPECT_EQ(frame.viewports.picker, c.picker) << c.size.height;
    }
}

// On a short screen neither the destination field nor the status lines
// reach the button row.
TEST(CloneViewTests, NothingLandsOnTheButtonRow) {
    for (std::int64_t height = 14; height <= 26; ++height) {
        UIFrame frame = fixtures::frame(Size{80, height});
        auto prompt = loadedClone(20);
        prompt.error = core::Text::raw("fatal: repository not found and a long explanation that wraps onto a second line");
        prompt.field = features::ClonePromptState::Field::destination;
        CloneView::draw(frame, prompt);
        const Rect box = overlayBox(frame);
        const std::int64_t buttons = box.maxY() - 2;
        ASSERT_TRUE(frame.cursor);
        EXPECT_LT(frame.cursor->y, buttons) << height;
        const std::string text = row(frame, buttons);
        EXPECT_EQ(text.find("fatal"), std::string::npos) << height;
        EXPECT_EQ(text.find("second"), std::string::npos) << height;
        EXPECT_EQ(press(frame, box.minX() + 2, buttons), std::vector<AppAction>{overlay(OverlayAction::Submitted{})});
    }
}

TEST(CloneViewTests, ClickSelectsDoubleClickSubmitsAndTheOtherFieldTakesTheFocus) {
    UIFrame frame = fixtures::frame(Size{120, 40});
    CloneView::draw(frame, loadedClone(3));
    const Rect box = overlayBox(frame);
    const std::int64_t firstRow = box.minY() + 1 + 4;
    const auto value = hit(frame, box.minX() + 4, firstRow);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->press, std::vector<AppAction>{overlay(OverlayAction::Select{0})});
    EXPECT_EQ(value->doublePress,
              (std::vector<AppAction>{overlay(OverlayAction::Select{0}), overlay(OverlayAction::Submitted{})}));
    EXPECT_EQ(frame.cursor, (Point{box.minX() + 2, box.minY() + 2}));
    const std::int64_t destination = box.minY() + 1 + 3 + 12 + 2;
    EXPECT_EQ(press(frame, box.minX() + 4, destination),
              std::vector<AppAction>{overlay(OverlayAction::SwitchCloneField{})});
}

TEST(OnboardingScreenTests, GeometryOfTheCheckingAndIdentitySteps) {
    OnboardingState checking;
    checking.step = OnboardingState::Step::checking();
    UIFrame frame = fixtures::frame(Size{80, 24});
    OnboardingScreen::draw(frame, checking);
    EXPECT_EQ(region(frame, 0), Rect(7, 6, 66, 11));
    EXPECT_NE(row(frame, 8).find("⠋ "), std::string::npos);

    // The fields start 14 columns in, or one column after a wider label
    // ("Default branch" is 14 columns wide).
    for (const auto& [language, fieldColumn] : {std::pair{core::Language::en, 15}, std::pair{core::Language::es, 14}}) {
        OnboardingState identity;
        identity.step = OnboardingState::Step::identity();
        identity.focusedField = OnboardingState::Field::email;
        UIFrame form = fixtures::frame(Size{80, 24});
        form.language = language;
        OnboardingScreen::draw(form, identity);
        EXPECT_EQ(region(form, 0), Rect(7, 3, 66, 17));
        ASSERT_TRUE(form.cursor);
        EXPECT_EQ(form.cursor->x, 9 + fieldColumn);
        EXPECT_EQ(press(form, 9 + 20, form.cursor->y),
                  std::vector<AppAction>{AppAction(OnboardingAction::FocusField{OnboardingState::Field::email})});
    }
}

// The identity form keeps every row above its buttons on a short screen.
TEST(OnboardingScreenTests, TheIdentityFormNeverOverlapsItsButtons) {
    for (std::int64_t height = 14; height <= 20; ++height) {
        OnboardingState state;
        state.step = OnboardingState::Step::identity();
        state.focusedField = OnboardingState::Field::defaultBranch;
        state.validationError = OnboardingState::ValidationError::invalidEmail;
        UIFrame frame = fixtures::frame(Size{60, height});
        OnboardingScreen::draw(frame, state);
        const Rect box = region(frame, 0);
        const std::int64_t buttons = box.maxY() - 2;
        ASSERT_TRUE(frame.cursor) << height;
        EXPECT_LT(frame.cursor->y, buttons);
        for (const auto& r : frame.hits.regions()) {
            if (r.rect.minY() == buttons) {
                EXPECT_TRUE(r.value.press == std::vector<AppAction>{AppAction(OnboardingAction::SaveTapped{})} ||
                            r.value.press == std::vector<AppAction>{AppAction(OnboardingAction::SkipTapped{})})
                    << height;
            }
        }
        const std::string invalid = core::Text::invalidEmail().render(core::Language::en);
        EXPECT_EQ(row(frame, buttons).find(invalid), std::string::npos) << height;
    }
}

TEST(OnboardingScreenTests, AFailureShowsAtMostFiveLinesAndTheBoxTogglesTheFlag) {
    OnboardingState failed;
    failed.step = OnboardingState::Step::failed("one two three four five six seven eight nine ten eleven twelve");
    UIFrame frame = fixtures::frame(Size{20, 24});
    OnboardingScreen::draw(frame, failed);
    const Rect box = region(frame, 0);
    int lines = 0;
    for (std::int64_t y = box.minY() + 1; y < box.maxY() - 1; ++y) {
        lines += row(frame, y).find_first_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos ? 1 : 0;
    }
    EXPECT_LE(lines, 6);  // five message lines and the Retry label

    OnboardingState identity;
    identity.step = OnboardingState::Step::identity();
    identity.storeCredentials = true;
    UIFrame form = fixtures::frame(Size{80, 24});
    OnboardingScreen::draw(form, identity);
    bool toggles = false;
    for (const auto& r : form.hits.regions()) {
        toggles = toggles || r.value.press == std::vector<AppAction>{
                                                  AppAction(OnboardingAction::StoreCredentialsToggled{false})};
    }
    EXPECT_TRUE(toggles);
}

TEST(SignInViewTests, TheCodeIsSpacedAndCentred) {
    EXPECT_EQ(SignInView::spaced("ABCD-1234"), "A B C D - 1 2 3 4");
    features::SignInState state;
    state.status = features::SignInState::Status::waiting(core::DeviceCode{"dev", "ABCD-1234", "https://example.com/device", 5, 900});
    UIFrame frame = fixtures::frame(Size{80, 24});
    SignInView::draw(frame, state);
    const Rect box = overlayBox(frame);
    EXPECT_EQ(box, Rect(8, 6, 64, 11));
    const std::int64_t x = box.minX() + 2 + (60 - 17) / 2;
    EXPECT_EQ(columns(frame, x, box.minY() + 4, 17), "A B C D - 1 2 3 4");
    EXPECT_EQ(columns(frame, x - 1, box.minY() + 4, 1), " ");
    EXPECT_FALSE(frame.cursor);
    EXPECT_EQ(press(frame, box.minX() + 2, box.maxY() - 2), std::vector<AppAction>{overlay(OverlayAction::Confirm{})});
}

TEST(SignInViewTests, SizesAndTheRequestingCancel) {
    struct Case {
        Size size;
        std::int64_t width, height;
    };
    for (const auto& c : {Case{{68, 24}, 64, 11}, Case{{60, 24}, 56, 11}, Case{{60, 12}, 56, 10}}) {
        UIFrame frame = fixtures::frame(c.size);
        SignInView::draw(frame, features::SignInState{});
        EXPECT_EQ(overlayBox(frame).size, (Size{c.width, c.height}));
        const Rect box = overlayBox(frame);
        EXPECT_EQ(press(frame, box.minX() + 2, box.maxY() - 2), std::vector<AppAction>{dismiss});
    }
}

TEST(PublishRepositoryViewTests, ErrorGrowth) {
    struct Case {
        std::int64_t height;
        std::int64_t boxHeight;
        int errorLinesShown;
    };
    // The error wraps to five lines of 64 columns.
    std::string error;
    for (int i = 0; i < 5; ++i) error += std::string(60, static_cast<char>('a' + i)) + " ";
    for (const auto& c : {Case{40, 19, 5}, Case{19, 17, 3}}) {
        features::PublishRepositoryState prompt;
        prompt.error = core::Text::raw(error);
        UIFrame frame = fixtures::frame(Size{120, c.height});
        PublishRepositoryView::draw(frame, prompt);
        const Rect box = overlayBox(frame);
        EXPECT_EQ(box.size.height, c.boxHeight) << c.height;
        int shown = 0;
        for (char letter = 'a'; letter < 'a' + 5; ++letter) {
            for (std::int64_t y = 0; y < c.height; ++y) {
                if (row(frame, y).find(std::string(60, letter)) != std::string::npos) ++shown;
            }
        }
        EXPECT_EQ(shown, c.errorLinesShown) << c.height;
    }
    features::PublishRepositoryState publishing;
    publishing.error = core::Text::raw(error);
    publishing.isPublishing = true;
    UIFrame frame = fixtures::frame(Size{120, 40});
    PublishRepositoryView::draw(frame, publishing);
    EXPECT_EQ(overlayBox(frame), Rect(24, 12, 72, 16));
}

// A server can answer with a page of several megabytes; only its first
// few kilobytes are wrapped and drawn, whatever length came.
TEST(PublishRepositoryViewTests, AHugeErrorBodyIsCutBeforeWrapping) {
    std::string body;
    body.reserve(4'000'000);
    while (body.size() < 4'000'000) body += "<div>error</div> ";
    features::PublishRepositoryState prompt;
    prompt.error = core::Text::raw(body);
    features::ClonePromptState clone("/home");
    clone.remote = features::GitHubRepositoryList::failed(core::Text::raw(body));
    for (int frame = 0; frame < 3; ++frame) {
        UIFrame publish = fixtures::frame(Size{120, 40});
        PublishRepositoryView::draw(publish, prompt);
        EXPECT_EQ(overlayBox(publish).size.height, 38);
        UIFrame cloning = fixtures::frame(Size{120, 40});
        CloneView::draw(cloning, clone);
    }
}

TEST(PublishRepositoryViewTests, PreviewVisibilityClickAndCursor) {
    features::PublishRepositoryState prompt;
    prompt.name = core::EditableText("my repo!");
    UIFrame frame = fixtures::frame(Size{120, 40});
    PublishRepositoryView::draw(frame, prompt);
    const Rect box = overlayBox(frame);
    EXPECT_NE(row(frame, box.minY() + 9).find("Will be created as: my-repo-"), std::string::npos);
    EXPECT_EQ(press(frame, box.minX() + 3, box.minY() + 7),
              (std::vector<AppAction>{overlay(OverlayAction::FocusPublishField{features::PublishRepositoryState::Field::visibility}),
                                      overlay(OverlayAction::TogglePublishPrivate{})}));
    EXPECT_EQ(frame.cursor, (Point{box.minX() + 2 + 8, box.minY() + 2}));
    prompt.field = features::PublishRepositoryState::Field::visibility;
    UIFrame focused = fixtures::frame(Size{120, 40});
    PublishRepositoryView::draw(focused, prompt);
    EXPECT_FALSE(focused.cursor);
}

}  // namespace
}  // namespace tarv::ui
