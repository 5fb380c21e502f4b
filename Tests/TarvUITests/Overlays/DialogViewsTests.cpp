#include <gtest/gtest.h>

#include "TarvFeatures/Overlay/CoAuthorPromptState.hpp"
#include "TarvFeatures/Overlay/ContextMenuState.hpp"
#include "TarvFeatures/Overlay/CredentialPromptState.hpp"
#include "TarvFeatures/Overlay/DeleteBranchState.hpp"
#include "TarvFeatures/Overlay/NewBranchState.hpp"
#include "TarvFeatures/Overlay/PathPromptState.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvUI/Components/DialogFrame.hpp"
#include "TarvUI/Components/DialogViews.hpp"
#include "TarvUITests/Overlays/OverlayFixtures.hpp"

namespace tarv::ui {
namespace {

using core::AppCommand;
using core::CredentialPrompt;
using core::FailureFix;
using features::AppAction;
using features::OverlayAction;
using terminal::Point;
using terminal::Rect;
using terminal::Size;
using namespace fixtures;

std::vector<core::FileChange> files(int count) {
    std::vector<core::FileChange> out;
    for (int i = 0; i < count; ++i) out.push_back(core::FileChange{.path = "src/file" + std::to_string(i) + ".c"});
    return out;
}

TEST(DialogViewsTests, DiscardGolden) {
    UIFrame frame = fixtures::frame(Size{60, 20});
    DialogViews::confirmDiscard(frame, files(5));
    EXPECT_ROWS(frame, 2, {
        "                                                            ",
        " ╭─ Discard changes? ─────────────────────────────────────╮ ",
        " │                                                        │ ",
        " │ 5 files. A recoverable copy is saved; press u to undo. │ ",
        " │                                                        │ ",
        " │ • src/file0.c                                          │ ",
        " │ • src/file1.c                                          │ ",
        " │ • src/file2.c                                          │ ",
        " │ • src/file3.c                                          │ ",
        " │ … +1                                                   │ ",
        " │                                                        │ ",
        " │                                                        │ ",
        " │                                                        │ ",
        " │   Discard ⏎      Cancel Esc                            │ ",
        " ╰────────────────────────────────────────────────────────╯ ",
        "                                                            ",
    });
}

// Two files whose names differ only by a line break must not read alike in
// the list of what is about to go.
TEST(DialogViewsTests, DiscardShowsControlCharactersOfNames) {
    UIFrame frame = fixtures::frame(Size{60, 20});
    DialogViews::confirmDiscard(frame, {core::FileChange{.path = "a\nb.txt"}, core::FileChange{.path = "ab.txt"},
                                        core::FileChange{.path = "tab\there"}});
    EXPECT_ROWS(frame, 7, {
        " │ • a·b.txt                                              │ ",
        " │ • ab.txt                                               │ ",
        " │ • tab·here                                             │ ",
    });
}

TEST(DialogViewsTests, DiscardHeightAndOverflowFollowTheFileCount) {
    struct Case {
        int count;
        std::int64_t height;
        bool overflow;
    };
    for (const auto& c : {Case{0, 10, false}, Case{4, 14, false}, Case{5, 14, true}}) {
        UIFrame frame = fixtures::frame(Size{80, 30});
        DialogViews::confirmDiscard(frame, files(c.count));
        const Rect box = overlayBox(frame);
        EXPECT_EQ(box.size.height, c.height) << c.count;
        EXPECT_EQ(box.size.width, 64) << c.count;
        bool sawOverflow = false;
        int bullets = 0;
        for (std::int64_t y = box.minY(); y < box.maxY(); ++y) {
            const std::string text = row(frame, y);
            sawOverflow = sawOverflow || text.find("… +1") != std::string::npos;
            bullets += text.find("• src/") != std::string::npos ? 1 : 0;
        }
        EXPECT_EQ(sawOverflow, c.overflow) << c.count;
        EXPECT_EQ(bullets, std::min(c.count, 4)) << c.count;
    }
}

TEST(DialogViewsTests, AClickOutsideTheBoxDismissesAndInsideOffTheButtonsDoesNothing) {
    UIFrame frame = fixtures::frame(Size{80, 24});
    DialogViews::confirmDiscard(frame, files(1));
    const Rect box = overlayBox(frame);
    EXPECT_EQ(press(frame, 0, 0), std::vector<AppAction>{dismiss});
    EXPECT_EQ(press(frame, box.maxX(), box.minY()), std::vector<AppAction>{dismiss});
    EXPECT_TRUE(press(frame, box.minX(), box.minY()).empty());
    EXPECT_TRUE(press(frame, box.minX() + 3, box.minY() + 2).empty());
    const std::int64_t buttonRow = box.maxY() - 2;
    EXPECT_EQ(press(frame, box.minX() + 2, buttonRow), std::vector<AppAction>{overlay(OverlayAction::Confirm{})});
    EXPECT_FALSE(frame.cursor);
}

TEST(DialogViewsTests, TheDiscardButtonIsDrawnAsDanger) {
    UIFrame frame = fixtures::frame(Size{80, 24});
    DialogViews::confirmDiscard(frame, files(1));
    const Rect box = overlayBox(frame);
    const auto& style = cell(frame, box.minX() + 2, box.maxY() - 2).style;
    EXPECT_EQ(style, DialogFrame::danger(frame.styles));
    EXPECT_EQ(style.background, frame.styles.theme.danger.color());
}

TEST(DialogViewsTests, MessageFixesAreNumberedButtonsAboveABlankRowAndClose) {
    UIFrame frame = fixtures::frame(Size{80, 24});
    DialogViews::message(frame, core::Text::raw("Push failed"), core::Text::raw("The remote has new commits."),
                         {FailureFix::pull(), FailureFix::retry()});
    const Rect box = overlayBox(frame);
    EXPECT_EQ(box.size.height, 1 + 6 + 3);
    const std::int64_t close = box.maxY() - 2;
    const std::int64_t x = box.minX() + 2;
    EXPECT_EQ(press(frame, x, close - 3), std::vector<AppAction>{overlay(OverlayAction::ApplyFix{FailureFix::pull()})});
    EXPECT_EQ(press(frame, x, close - 2), std::vector<AppAction>{overlay(OverlayAction::ApplyFix{FailureFix::retry()})});
    EXPECT_TRUE(press(frame, x, close - 1).empty());
    EXPECT_EQ(press(frame, x, close), std::vector<AppAction>{dismiss});
    EXPECT_NE(row(frame, close - 3).find(" 1 "), std::string::npos);
    EXPECT_NE(row(frame, close - 2).find(" 2 "), std::string::npos);
    EXPECT_EQ(cell(frame, x, close - 3).style, DialogFrame::primary(frame.styles));
    EXPECT_EQ(cell(frame, x, close - 2).style, DialogFrame::secondary(frame.styles));
}

TEST(DialogViewsTests, AMessageWithoutFixesLeavesTwoBlankRowsBeforeClose) {
    UIFrame frame = fixtures::frame(Size{80, 24});
    DialogViews::message(frame, core::Text::raw("Done"), core::Text::raw("All good."), {});
    const Rect box = overlayBox(frame);
    EXPECT_EQ(box.size.height, 7);
    EXPECT_EQ(box.size.width, 72);
    EXPECT_EQ(row(frame, box.minY() + 2).substr(box.minX() + 3 * 0, 0), "");
    EXPECT_NE(row(frame, box.minY() + 2).find("All good."), std::string::npos);
}

TEST(DialogViewsTests, DeleteBranchWithForceShowsTheForceTexts) {
    UIFrame frame = fixtures::frame(Size{80, 24});
    DialogViews::confirmDeleteBranch(frame, features::DeleteBranchState{"topic", true});
    const Rect box = overlayBox(frame);
    EXPECT_EQ(box.size.width, 68);
    const std::string body = core::Text::deleteBranchForceBody("topic").render(core::Language::en);
    EXPECT_NE(row(frame, box.minY() + 2).find(body.substr(0, 10)), std::string::npos);
    const std::string confirm = core::Text::deleteBranchForceConfirm().render(core::Language::en);
    EXPECT_NE(row(frame, box.maxY() - 2).find(confirm), std::string::npos);
}

TEST(DialogViewsTests, PromptFieldScrollsPastItsWidthAndKeepsTheCursorInside) {
    UIFrame frame = fixtures::frame(Size{50, 14});
    features::PathPromptState prompt;
    prompt.path = core::EditableText(std::string(80, 'a') + "/end");
    DialogViews::addRepository(frame, prompt);
    const Rect box = overlayBox(frame);
    const Rect content(box.minX() + 2, box.minY() + 1, box.size.width - 4, box.size.height - 2);
    ASSERT_TRUE(frame.cursor);
    EXPECT_EQ(frame.cursor->y, content.minY() + 1);
    EXPECT_EQ(frame.cursor->x, content.maxX() - 1);
    EXPECT_EQ(columns(frame, content.maxX() - 5, content.minY() + 1, 4), "/end");
}

TEST(DialogViewsTests, NewBranchShowsThePlaceholderOrTheNameAsItWillBe) {
    struct Case {
        std::string typed;
        std::optional<std::string> line;
    };
    const auto willBe = [](std::string name) { return core::Text::newBranchWillBe(std::move(name)).render(core::Language::en); };
    for (const auto& c : {Case{"", std::nullopt}, Case{"my topic", willBe("my-topic")},
                          Case{"bad..name", core::Text::invalidBranchName().render(core::Language::en)}}) {
        UIFrame frame = fixtures::frame(Size{80, 24});
        features::NewBranchState prompt;
        prompt.name = core::EditableText(c.typed);
        DialogViews::newBranch(frame, prompt);
        const Rect box = overlayBox(frame);
        const std::string validation = row(frame, box.minY() + 4);
        if (c.line) {
            EXPECT_NE(validation.find(*c.line), std::string::npos) << c.typed << validation;
        } else {
            EXPECT_EQ(validation.find_first_not_of(" │"), std::string::npos) << validation;
            EXPECT_EQ(frame.cursor, (Point{box.minX() + 2, box.minY() + 2}));
        }
    }
}

TEST(DialogViewsTests, NewBranchTitleAndButtonFollowRenamingAndStart) {
    UIFrame frame = fixtures::frame(Size{80, 24});
    DialogViews::newBranch(frame, features::NewBranchState(std::string(40, 'c'), std::string("old")));
    const Rect box = overlayBox(frame);
    EXPECT_NE(row(frame, box.minY()).find(core::Text::renameBranchTitle("old").render(core::Language::en)),
              std::string::npos);
    EXPECT_NE(row(frame, box.maxY() - 2).find(core::Text::buttonRename().render(core::Language::en)), std::string::npos);
    UIFrame fromCommit = fixtures::frame(Size{80, 24});
    DialogViews::newBranch(fromCommit, features::NewBranchState(std::string(40, 'c')));
    EXPECT_NE(row(fromCommit, box.minY()).find(core::Text::newBranchFromCommit("ccccccc").render(core::Language::en)),
              std::string::npos);
}

// git's refusal of a folder runs over several lines: the reason and the
// safe.directory advice are all shown, the box growing to hold them.
TEST(DialogViewsTests, AddRepositoryShowsEveryLineOfTheError) {
    UIFrame frame = fixtures::frame(Size{60, 20});
    features::PathPromptState prompt;
    prompt.path = core::EditableText("/srv/r", false);
    prompt.error = core::Text::raw(
        "fatal: detected dubious ownership in repository at '/srv/r'\nTo add an exception for this directory, "
        "call:\n\n\tgit config --global --add safe.directory /srv/r");
    DialogViews::addRepository(frame, prompt);
    EXPECT_ROWS(frame, 4, {
        " ╭─ Add existing repository ──────────────────────────────╮ ",
        " │ Path to the repository folder                          │ ",
        " │ /srv/r                                                 │ ",
        " │                                                        │ ",
        " │ fatal: detected dubious ownership in repository at     │ ",
        " │ '/srv/r'                                               │ ",
        " │ To add an exception for this directory, call:          │ ",
        " │                                                        │ ",
        " │ git config --global --add safe.directory /srv/r        │ ",
        " │                                                        │ ",
        " │   Add ⏎      Cancel Esc                                │ ",
        " ╰────────────────────────────────────────────────────────╯ ",
    });
}

TEST(DialogViewsTests, OfferingCreateAddsASecondaryButtonAndMovesCancel) {
    UIFrame frame = fixtures::frame(Size{80, 24});
    features::PathPromptState prompt;
    prompt.offersCreate = true;
    prompt.isChecking = true;
    prompt.error = core::Text::raw("Not a repository");
    DialogViews::addRepository(frame, prompt);
    const Rect box = overlayBox(frame);
    const std::int64_t buttons = box.maxY() - 2;
    const std::string add = DialogFrame::label(frame, core::Text::buttonAdd(), "⏎");
    const std::string create = DialogFrame::label(frame, core::Text::createRepositoryHere(), "⌃N");
    const std::int64_t createX = box.minX() + 2 + DialogFrame::buttonWidth(add) + 2;
    EXPECT_EQ(press(frame, createX, buttons),
              std::vector<AppAction>{overlay(OverlayAction::CreateRepositoryInstead{})});
    EXPECT_EQ(cell(frame, createX, buttons).style, DialogFrame::secondary(frame.styles));
    EXPECT_EQ(press(frame, createX + DialogFrame::buttonWidth(create) + 2, buttons), std::vector<AppAction>{dismiss});
    EXPECT_NE(row(frame, box.minY() + 4).find("Not a repository"), std::string::npos);
}

TEST(DialogViewsTests, ContextMenuStaysOnScreenAtTheEdges) {
    struct Case {
        std::int64_t anchorX, anchorY;
        Rect box;
    };
    // Titles of copyPath/copySHA decide the width; measured from the texts.
    const std::vector<AppCommand> items{AppCommand::copyPath, AppCommand::copySHA};
    std::int64_t widest = 0;
    for (auto c : items) {
        widest = std::max<std::int64_t>(widest, terminal::DisplayWidth::width(core::Text::command(c).render(core::Language::en)));
    }
    const std::int64_t w = widest + 14;
    for (const auto& c : {Case{5, 5, Rect(5, 5, w, 4)}, Case{79, 23, Rect(80 - w, 24 - 4 - 1, w, 4)},
                          Case{-3, -2, Rect(0, 0, w, 4)}}) {
        UIFrame frame = fixtures::frame(Size{80, 24});
        DialogViews::contextMenu(frame, features::ContextMenuState(items, c.anchorX, c.anchorY));
        EXPECT_EQ(overlayBox(frame), c.box) << c.anchorX << "," << c.anchorY;
        EXPECT_EQ(frame.viewports.picker, 2);
    }
}

TEST(DialogViewsTests, ContextMenuRowsRunAtOnceAndShowShortcuts) {
    UIFrame frame = fixtures::frame(Size{80, 24});
    features::ContextMenuState menu({AppCommand::copyPath, AppCommand::help}, 10, 4);
    menu.list.selected = std::nullopt;
    DialogViews::contextMenu(frame, menu);
    EXPECT_EQ(press(frame, 12, 6), selectAndActivate(1));
    EXPECT_EQ(cell(frame, 12, 5).style, frame.styles.popover);
    if (const auto shortcut = frame.keymap.shortcut(AppCommand::help)) {
        const Rect box = overlayBox(frame);
        const std::string text = row(frame, 6);
        EXPECT_NE(text.find(*shortcut + " │"), std::string::npos) << text << box.maxX();
    }
}

CredentialPrompt prompt(CredentialPrompt::Kind kind, std::optional<std::string> subject) {
    CredentialPrompt p;
    p.kind = kind;
    p.message = "Password for 'x':";
    p.subject = std::move(subject);
    return p;
}

TEST(DialogViewsTests, CredentialsMaskSecretsAndKeepTheCursorInPlace) {
    UIFrame frame = fixtures::frame(Size{80, 24});
    features::CredentialPromptState state(prompt(CredentialPrompt::Kind::passphrase, "key"));
    state.input = core::EditableText("correct-hors");
    state.input.setCursor(4);
    DialogViews::credentials(frame, state);
    const Rect box = overlayBox(frame);
    bool found = false;
    for (std::int64_t y = box.minY(); y < box.maxY(); ++y) {
        const std::string text = row(frame, y);
        EXPECT_EQ(text.find("correct"), std::string::npos);
        if (text.find("••••••••••••") != std::string::npos) {
            found = true;
            ASSERT_TRUE(frame.cursor);
            EXPECT_EQ(*frame.cursor, (Point{box.minX() + 2 + 4, y}));
        }
    }
    EXPECT_TRUE(found);
}

TEST(DialogViewsTests, TheTokenHintOnlyForAHostingPasswordPrompt) {
    const std::string hint = core::Text::credentialsTokenHint().render(core::Language::en).substr(0, 12);
    struct Case {
        CredentialPrompt::Kind kind;
        std::optional<std::string> subject;
        bool shows;
    };
    for (const auto& c : {Case{CredentialPrompt::Kind::password, "https://github.com", true},
                          Case{CredentialPrompt::Kind::password, "https://example.org", false},
                          Case{CredentialPrompt::Kind::password, "https://GitHub.com", false},
                          Case{CredentialPrompt::Kind::username, "https://github.com", false}}) {
        UIFrame frame = fixtures::frame(Size{80, 24});
        DialogViews::credentials(frame, features::CredentialPromptState(prompt(c.kind, c.subject)));
        bool shows = false;
        for (std::int64_t y = 0; y < 24; ++y) shows = shows || row(frame, y).find(hint) != std::string::npos;
        EXPECT_EQ(shows, c.shows) << *c.subject;
    }
}

TEST(DialogViewsTests, AHostKeyConfirmationHasYesAndNoAndNoCursor) {
    UIFrame frame = fixtures::frame(Size{80, 24});
    DialogViews::credentials(frame, features::CredentialPromptState(prompt(CredentialPrompt::Kind::confirmation, "host")));
    const Rect box = overlayBox(frame);
    EXPECT_EQ(box.size.height, 11);
    EXPECT_FALSE(frame.cursor);
    EXPECT_EQ(press(frame, box.minX() + 2, box.maxY() - 2), std::vector<AppAction>{overlay(OverlayAction::Confirm{})});
}

TEST(DialogViewsTests, ServerTextIsCutBeforeWrapping) {
    const std::string huge(5'000'000, 'x');
    EXPECT_EQ(DialogFrame::bounded(huge).size(), DialogFrame::boundedTextLimit);
    // Never half a character.
    std::string accents;
    for (int i = 0; i < 3000; ++i) accents += "é";
    const std::string cut = DialogFrame::bounded(accents);
    EXPECT_EQ(cut.size() % 2, 0U);
    EXPECT_LE(cut.size(), DialogFrame::boundedTextLimit);
}

}  // namespace
}  // namespace tarv::ui
