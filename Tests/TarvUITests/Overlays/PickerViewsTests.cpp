#include <gtest/gtest.h>

#include "TarvCore/Localization/RelativeTime.hpp"
#include "TarvFeatures/App/AppState.hpp"
#include "TarvFeatures/Branches/BranchRows.hpp"
#include "TarvTerminal/Text/TextTruncation.hpp"
#include "TarvUI/Components/BranchPickerView.hpp"
#include "TarvUI/Components/DialogFrame.hpp"
#include "TarvUI/Components/HelpView.hpp"
#include "TarvUI/Components/PaletteView.hpp"
#include "TarvUI/Components/PullRequestListView.hpp"
#include "TarvUI/Components/StashPickerView.hpp"
#include "TarvUI/Components/TagViews.hpp"
#include "TarvUI/Components/WorktreeViews.hpp"
#include "TarvUITests/Overlays/OverlayFixtures.hpp"
#include "TarvUITests/WorkspaceFixtures.hpp"

namespace tarv::ui {
namespace {

using core::AppCommand;
using features::AppAction;
using features::AppState;
using features::BranchPickerState;
using features::OverlayAction;
using terminal::Point;
using terminal::Rect;
using terminal::Size;
using namespace fixtures;

TEST(HelpViewTests, ColumnsAndWidthFollowTheScreenWidth) {
    struct Case {
        std::int64_t width;
        std::int64_t boxWidth;
    };
    // 80: one column of 74; 88: two of 41; 130: three of 41; 200: three of 49 (content capped at 150).
    for (const auto& c : {Case{80, 78}, Case{88, 86}, Case{130, 127}, Case{200, 151}}) {
        UIFrame frame = fixtures::frame(Size{c.width, 60});
        HelpView::draw(frame);
        EXPECT_EQ(overlayBox(frame).size.width, c.boxWidth) << c.width;
        EXPECT_EQ(press(frame, 0, 0), std::vector<AppAction>{dismiss});
        const Rect box = overlayBox(frame);
        EXPECT_TRUE(press(frame, box.minX() + 3, box.minY() + 2).empty());
    }
}

TEST(HelpViewTests, LabelsGroupByHelpTextAndPackIntoTwelveColumns) {
    EXPECT_EQ(HelpView::wrap({"a", "b", "ctrl-x", "ctrl-y"}), (std::vector<std::string>{"a b ctrl-x", "ctrl-y"}));
    EXPECT_EQ(HelpView::wrap({"a-very-long-label"}), (std::vector<std::string>{"a-very-long-label"}));
    UIFrame frame = fixtures::frame(Size{80, 60});
    const auto rows = HelpView::rows(frame);
    ASSERT_FALSE(rows.empty());
    EXPECT_TRUE(rows.front().isHeader);
    EXPECT_EQ(rows.back().keys, "·");
    const auto suspend = std::find_if(rows.begin(), rows.end(), [](const auto& r) { return r.keys == "⌃Z"; });
    EXPECT_NE(suspend, rows.end());
}

TEST(HelpViewTests, OnAShortScreenRowsThatDoNotFitAreNotDrawn) {
    UIFrame frame = fixtures::frame(Size{80, 14});
    HelpView::draw(frame);
    const Rect box = overlayBox(frame);
    EXPECT_EQ(box.size.height, 12);  // 8 rows + 4, the rest is cut
}

TEST(PaletteViewTests, GeometryAtSixtyAndTwoHundredColumns) {
    struct Case {
        std::int64_t width;
        Rect box;
    };
    for (const auto& c : {Case{60, Rect(1, 2, 58, 5)}, Case{200, Rect(64, 2, 72, 6)}}) {
        UIFrame frame = fixtures::frame(Size{c.width, 30});
        const std::vector<AppCommand> results =
            c.width == 60 ? std::vector<AppCommand>{} : std::vector<AppCommand>{AppCommand::help, AppCommand::quit};
        PaletteView::draw(frame, features::PaletteState{}, results);
        EXPECT_EQ(overlayBox(frame), c.box) << c.width;
        EXPECT_GE(frame.viewports.picker, 1);
    }
}

TEST(PaletteViewTests, RowsRunTheirCommandAndTheFieldHoldsTheCursor) {
    UIFrame frame = fixtures::frame(Size{80, 30});
    features::PaletteState palette;
    palette.query = core::EditableText("he");
    PaletteView::draw(frame, palette, {AppCommand::help, AppCommand::quit});
    const Rect box = overlayBox(frame);
    EXPECT_EQ(frame.cursor, (Point{box.minX() + 4 + 2, box.minY() + 1}));
    EXPECT_EQ(press(frame, box.minX() + 4, box.minY() + 3), selectAndActivate(1));
    EXPECT_TRUE(press(frame, box.minX() + 6, box.minY() + 1).empty());
    EXPECT_EQ(cell(frame, box.minX() + 4, box.minY() + 2).style, DialogFrame::highlighted(frame.styles));
}

std::vector<core::StashEntry> stashes(int count) {
    std::vector<core::StashEntry> out;
    for (int i = 0; i < count; ++i) {
        out.push_back(core::StashEntry{"stash@{" + std::to_string(i) + "}", "WIP " + std::to_string(i),
                                       i == 1 ? std::nullopt : std::optional<std::string>("main"), 1000});
    }
    return out;
}

// The list gets the box's height less the border, the blank row and the
// hint, one row more than the rows wanted: with 12 wanted the box is 17
// high and shows 13 list rows.
TEST(StashPickerViewTests, HeightsAndListRows) {
    struct Case {
        int count;
        std::int64_t height;
        std::int64_t listRows;
        std::int64_t screenHeight;
    };
    for (const auto& c : {Case{0, 6, 2, 40}, Case{3, 8, 4, 40}, Case{20, 17, 13, 40}, Case{20, 12, 8, 14}}) {
        AppState state;
        state.now = 1000 + 3600;
        UIFrame frame = fixtures::frame(Size{80, c.screenHeight});
        StashPickerView::draw(frame, state, features::StashPickerState(stashes(c.count)));
        const Rect box = overlayBox(frame);
        EXPECT_EQ(box.minY(), 3);
        EXPECT_EQ(box.size.height, c.height) << c.count;
        EXPECT_EQ(frame.viewports.picker, c.listRows) << c.count;
        EXPECT_NE(row(frame, box.maxY() - 2 < c.screenHeight ? box.maxY() - 2 : c.screenHeight - 1)
                      .find(core::Text::stashHint().render(core::Language::en).substr(0, 8)),
                  std::string::npos);
    }
}

TEST(StashPickerViewTests, RowsShowBranchOrQuestionMarkAndTheAge) {
    AppState state;
    state.now = 1000 + 7200;
    UIFrame frame = fixtures::frame(Size{80, 30});
    StashPickerView::draw(frame, state, features::StashPickerState(stashes(2)));
    const Rect box = overlayBox(frame);
    const std::string age = core::Text::relative(core::RelativeTime::between(1000, state.now)).render(core::Language::en);
    EXPECT_NE(row(frame, box.minY() + 1).find(" ⎇ main  WIP 0"), std::string::npos);
    EXPECT_NE(row(frame, box.minY() + 2).find(" ⎇ ?  WIP 1"), std::string::npos);
    EXPECT_NE(row(frame, box.minY() + 1).find(age + "  │"), std::string::npos);
    EXPECT_EQ(press(frame, box.minX() + 3, box.minY() + 2), selectAndActivate(1));
}

AppState branchState(std::vector<core::Branch> branches) {
    AppState state = fixtures::stateWith({});
    state.workspace->branches = std::move(branches);
    return state;
}

core::Branch branch(std::string name, bool current = false, bool remote = false) {
    core::Branch b;
    b.name = std::move(name);
    b.isCurrent = current;
    b.isRemote = remote;
    return b;
}

TEST(BranchPickerViewTests, FooterNeedsSixteenRowsAndTheListShrinksForIt) {
    struct Case {
        std::int64_t height;
        bool footer;
        std::int64_t listRows;  // before section titles
    };
    for (const auto& c : {Case{14, false, 5}, Case{15, false, 6}, Case{16, true, 4}, Case{40, true, 14}}) {
        AppState state = branchState({branch("main", true), branch("topic")});
        const Size size{80, c.height};
        const auto layout = WorkspaceLayout::make(size, state.workspace->tab, state.workspace->focus);
        UIFrame frame = fixtures::frame(size);
        BranchPickerView::draw(frame, state, BranchPickerState(), layout);
        const Rect box = overlayBox(frame);
        const Rect inner(box.minX() + 2, box.minY() + 1, box.size.width - 4, box.size.height - 2);
        const bool hasMerge =
            press(frame, inner.minX(), inner.maxY() - 2) ==
            std::vector<AppAction>{AppAction(AppAction::Command{AppCommand::mergeBranch})};
        EXPECT_EQ(hasMerge, c.footer) << c.height;
        const auto sections = features::BranchRows::sections(state.workspace->branches, "").size();
        EXPECT_EQ(frame.viewports.picker, std::max<std::int64_t>(c.listRows - static_cast<std::int64_t>(sections), 1))
            << c.height;
    }
}

TEST(BranchPickerViewTests, NothingWithoutARepositoryAndContextOnlyOnLocalBranchesInSwitchMode) {
    AppState none;
    UIFrame empty = fixtures::frame(Size{80, 30});
    BranchPickerView::draw(empty, none, BranchPickerState(),
                           WorkspaceLayout::make(Size{80, 30}, features::WorkspaceTab::changes,
                                                 features::WorkspaceFocus::files));
    EXPECT_TRUE(empty.hits.regions().empty());

    AppState state = branchState({branch("main", true), branch("origin/main", false, true)});
    const auto layout = WorkspaceLayout::make(Size{80, 30}, state.workspace->tab, state.workspace->focus);
    for (const auto mode : {BranchPickerState::Mode::switchBranch, BranchPickerState::Mode::merge}) {
        UIFrame frame = fixtures::frame(Size{80, 30});
        BranchPickerView::draw(frame, state, BranchPickerState(mode), layout);
        int contexts = 0;
        for (const auto& region : frame.hits.regions()) {
            if (region.value.context) {
                ++contexts;
                EXPECT_EQ(region.value.context->items,
                          (std::vector<AppCommand>{AppCommand::renameBranch, AppCommand::createPullRequest}));
                EXPECT_EQ(region.value.context->target, std::optional<std::string>("main"));
            }
        }
        EXPECT_EQ(contexts, mode == BranchPickerState::Mode::switchBranch ? 1 : 0);
    }
}

TEST(BranchPickerViewTests, PositionFollowsTheBranchSegmentAndStaysOnScreen) {
    AppState state = branchState({branch("main", true)});
    const Size size{50, 20};
    UIFrame frame = fixtures::frame(size);
    BranchPickerView::draw(frame, state, BranchPickerState(),
                           WorkspaceLayout::make(size, state.workspace->tab, state.workspace->focus));
    EXPECT_EQ(overlayBox(frame), Rect(0, 2, 49, 16));
}

TEST(PullRequestListViewTests, MessagesRowsAndTheSignedInLine) {
    AppState state = branchState({});
    state.now = 10'000;
    state.session = core::GitHubSession{};
    state.session->login = "octo";
    BranchPickerState picker;
    core::PullRequest pr;
    pr.number = 7;
    pr.title = "Fix \x1b[31mred\x1b[0m";
    pr.author = "ann";
    picker.pullRequests = features::PullRequestList::loaded({pr});
    UIFrame frame = fixtures::frame(Size{80, 30});
    const Rect list(2, 5, 40, 4);
    PullRequestListView::draw(frame, state, picker, list);
    const std::string first = row(frame, 5);
    EXPECT_EQ(first.substr(2, 8), "   #7 Fi");
    EXPECT_EQ(first.find('\x1b'), std::string::npos);
    EXPECT_EQ(cell(frame, 40, 5).character, "n");
    EXPECT_EQ(cell(frame, 41, 5).character, " ");
    EXPECT_NE(row(frame, 8).find(core::Text::signedInAs("octo").render(core::Language::en)), std::string::npos);
    EXPECT_EQ(frame.viewports.picker, 3);

    picker.pullRequests = features::PullRequestList::signedOut();
    UIFrame signedOut = fixtures::frame(Size{80, 30});
    PullRequestListView::draw(signedOut, state, picker, Rect(2, 5, 60, 6));
    bool button = false;
    for (const auto& region : signedOut.hits.regions()) {
        button = button || region.value.press == std::vector<AppAction>{
                                                     AppAction(AppAction::Command{AppCommand::signInGitHub})};
    }
    EXPECT_TRUE(button);
}

TEST(TagViewsTests, PickerRowsAndNewTagField) {
    AppState state;
    std::vector<core::Tag> tags;
    for (int i = 0; i < 40; ++i) tags.push_back(core::Tag{"v" + std::to_string(i), "abcdef0123456789"});
    UIFrame frame = fixtures::frame(Size{80, 40});
    TagViews::picker(frame, state, features::TagPickerState(tags));
    EXPECT_EQ(overlayBox(frame).minY(), 3);
    EXPECT_EQ(frame.viewports.picker, 13);
    EXPECT_NE(row(frame, 4).find(" ◆ v0"), std::string::npos);
    EXPECT_NE(row(frame, 4).find("abcdef0  │"), std::string::npos);

    UIFrame dialog = fixtures::frame(Size{80, 24});
    TagViews::newTag(dialog, features::NewTagState(std::string(40, 'f')));
    const Rect box = overlayBox(dialog);
    EXPECT_EQ(dialog.cursor, (Point{box.minX() + 2, box.minY() + 2}));
    EXPECT_NE(row(dialog, box.minY()).find("fffffff"), std::string::npos);
}

TEST(WorktreeViewsTests, PathCutsAndMarks) {
    AppState state = fixtures::stateWith({});
    std::vector<core::Worktree> worktrees{
        core::Worktree{"/repo", "main", "abc", true},
        core::Worktree{"/elsewhere/feature", std::nullopt, "def", false},
    };
    UIFrame frame = fixtures::frame(Size{100, 30});
    WorktreeViews::picker(frame, state, features::WorktreePickerState(worktrees));
    EXPECT_EQ(overlayBox(frame).size.width, 90);
    const std::string main = row(frame, 4);
    EXPECT_NE(main.find("⎇ main · " + core::Text::worktreeMain().render(core::Language::en) + " · " +
                        core::Text::worktreeCurrent().render(core::Language::en)),
              std::string::npos)
        << main;
    EXPECT_NE(row(frame, 5).find(core::Text::worktreeDetached().render(core::Language::en)), std::string::npos);
    // A 21-column path cut to 10 keeps 3 columns before the "…" and 6 after it.
    EXPECT_EQ(terminal::TextTruncation::middle("abcdefghijklmnopqrstu", 10, std::nullopt), "abc…pqrstu");

    UIFrame empty = fixtures::frame(Size{100, 30});
    WorktreeViews::picker(empty, state, features::WorktreePickerState());
    EXPECT_NE(row(empty, 4).find(core::Text::loading().render(core::Language::en)), std::string::npos);
    EXPECT_EQ(overlayBox(empty).size.height, 6);
}

}  // namespace
}  // namespace tarv::ui
