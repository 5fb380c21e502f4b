#include <gtest/gtest.h>

#include "TarvUI/Components/OperationBannerView.hpp"
#include "TarvUI/Components/PopoverView.hpp"
#include "TarvUITests/FrameFixtures.hpp"
#include "TarvUITests/WorkspaceFixtures.hpp"

namespace tarv::ui {
namespace {

using core::AppCommand;
using core::ChangeKind;
using core::RepositoryOperation;
using features::AppAction;
using terminal::Rect;
using terminal::Size;

TEST(OperationBannerView, ButtonsByOperationAndConflicts) {
    const struct {
        std::optional<RepositoryOperation> operation;
        int conflicted;
        std::vector<std::string> rows;
    } cases[] = {
        {std::nullopt, 1, {"                              ", "                              "}},
        {RepositoryOperation::merge, 1, {" Merge · 1 conflict           ", "  Abort                       "}},
        {RepositoryOperation::merge, 0, {" Merge · ready to complete    ", "  Abort                       "}},
        {RepositoryOperation::rebase, 2, {" Rebase · 2 conflicts         ", "  Abort                       "}},
        {RepositoryOperation::rebase, 0, {" Rebase · no conflicts        ", "  Continue   Abort            "}},
        {RepositoryOperation::revert, 0, {" Revert · no conflicts        ", "  Continue   Abort            "}},
    };
    for (const auto& c : cases) {
        std::vector<core::FileChange> files = {fixtures::file("a")};
        for (int i = 0; i < c.conflicted; ++i) files.push_back(fixtures::file("c" + std::to_string(i), ChangeKind::conflicted));
        auto state = fixtures::stateWith(files);
        state.workspace->status.operation = c.operation;
        UIFrame frame = fixtures::frame(Size{30, 3});
        OperationBannerView::draw(frame, *state.workspace, Rect(0, 0, 30, 2));
        EXPECT_ROWS(frame, 0, c.rows);
        EXPECT_EQ(fixtures::row(frame, 2), std::string(30, ' '));
        if (!c.operation) {
            EXPECT_TRUE(frame.hits.regions().empty());
            continue;
        }
        const Theme& t = frame.styles.theme;
        const terminal::Style banner{t.textOnAccent.color(), t.warning.color(), terminal::Attributes::bold};
        EXPECT_EQ(fixtures::cell(frame, 29, 1).style, banner);
        EXPECT_EQ(fixtures::cell(frame, 1, 1).style, banner.with(std::nullopt, std::nullopt, terminal::Attributes::underline));
        const bool continues = c.rows[1].find("Continue") != std::string::npos;
        // "Continue" spans columns 1 to 10, "Abort" starts at 12.
        if (continues) {
            EXPECT_EQ(fixtures::hit(frame, 10, 1), HitRegion::pressing({AppAction::Command{AppCommand::continueOperation}}));
            EXPECT_FALSE(fixtures::hit(frame, 11, 1));
            EXPECT_EQ(fixtures::hit(frame, 12, 1), HitRegion::pressing({AppAction::Command{AppCommand::abortOperation}}));
            EXPECT_EQ(fixtures::hit(frame, 18, 1), HitRegion::pressing({AppAction::Command{AppCommand::abortOperation}}));
            EXPECT_FALSE(fixtures::hit(frame, 19, 1));
        } else {
            EXPECT_EQ(fixtures::hit(frame, 1, 1), HitRegion::pressing({AppAction::Command{AppCommand::abortOperation}}));
            EXPECT_FALSE(fixtures::hit(frame, 8, 1));
        }
    }
}

TEST(PopoverView, FrameTitleAndContentArea) {
    UIFrame frame = fixtures::frame(Size{16, 5});
    const Rect content = PopoverView::draw(frame, Rect(1, 0, 14, 5), "Title");
    EXPECT_EQ(content, Rect(3, 1, 10, 3));
    EXPECT_ROWS(frame, 0, (std::vector<std::string>{
                                               " ╭─ Title ────╮ ",
                                               " │            │ ",
                                               " │            │ ",
                                               " │            │ ",
                                               " ╰────────────╯ ",
                                           }));
    EXPECT_EQ(fixtures::cell(frame, 1, 0).style, frame.styles.popoverBorder);
    EXPECT_EQ(fixtures::cell(frame, 5, 2).style, frame.styles.popover);
    EXPECT_EQ(fixtures::hit(frame, 7, 2), HitRegion{});
    EXPECT_FALSE(fixtures::hit(frame, 0, 2));
}

TEST(PopoverView, TinyPopoverHasNoContentButStillTakesClicks) {
    UIFrame frame = fixtures::frame(Size{10, 4});
    frame.hits.add(Rect(0, 0, 10, 4), HitRegion::pressing({AppAction::Command{AppCommand::quit}}));
    EXPECT_EQ(PopoverView::draw(frame, Rect(2, 1, 4, 2), "T"), Rect(4, 2, 0, 0));
    // The popover, drawn later, lies on top of the button below it.
    EXPECT_EQ(fixtures::hit(frame, 3, 1), HitRegion{});
    EXPECT_EQ(fixtures::hit(frame, 0, 0), HitRegion::pressing({AppAction::Command{AppCommand::quit}}));
}

}  // namespace
}  // namespace tarv::ui
