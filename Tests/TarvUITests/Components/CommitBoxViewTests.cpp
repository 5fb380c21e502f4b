#include <gtest/gtest.h>

#include "TarvUI/Components/CommitBoxView.hpp"
#include "TarvUITests/FrameFixtures.hpp"
#include "TarvUITests/WorkspaceFixtures.hpp"

namespace tarv::ui {
namespace {

using core::AppCommand;
using core::ChangeKind;
using core::RepositoryOperation;
using features::AppAction;
using features::WorkspaceAction;
using features::WorkspaceFocus;
using features::WorkspaceState;
using terminal::Rect;
using terminal::Size;

UIFrame drawBox(const WorkspaceState& ws, std::int64_t width, std::int64_t height) {
    UIFrame frame = fixtures::frame(Size{width, height});
    CommitBoxView::draw(frame, ws, Rect(0, 0, width, height));
    return frame;
}

features::AppState twoFiles() { return fixtures::stateWith({fixtures::file("a"), fixtures::file("b")}); }

TEST(CommitBoxView, GoldenAndStyles) {
    auto state = twoFiles();
    auto& ws = *state.workspace;
    ws.summary.setText("Fix the parser");
    ws.coAuthors = {core::CoAuthor{"Ada", "ada@example.com"}, core::CoAuthor{"Bob", "bob@example.com"}};
    const UIFrame frame = drawBox(ws, 30, 8);
    EXPECT_ROWS(frame, 0, (std::vector<std::string>{
                                               "──────────────────────────────",
                                               " ◔ Fix the parser             ",
                                               " ╭──────────────────────────╮ ",
                                               " │Description               │ ",
                                               " │                          │ ",
                                               " │+ Co-authors: Ada, Bob    │ ",
                                               " ╰──────────────────────────╯ ",
                                               "    Commit 2 files to main    ",
                                           }));
    const ThemeStyles& s = frame.styles;
    const Theme& t = s.theme;
    EXPECT_EQ(fixtures::cell(frame, 0, 0).style, s.border.with(std::nullopt, t.surface.color()));
    EXPECT_EQ(fixtures::cell(frame, 1, 1).style, (terminal::Style{t.accent.color(), t.surface.color(), {}}));
    EXPECT_EQ(fixtures::cell(frame, 3, 1).style, s.field);
    EXPECT_EQ(fixtures::cell(frame, 1, 2).style, s.border.with(std::nullopt, t.surface.color()));
    EXPECT_EQ(fixtures::cell(frame, 2, 3).style, s.placeholder);
    EXPECT_EQ(fixtures::cell(frame, 2, 4).style, s.field);
    EXPECT_EQ(fixtures::cell(frame, 2, 5).style, s.dim.with(std::nullopt, t.surface.color()));
    EXPECT_EQ(fixtures::cell(frame, 1, 7).style, s.button);
    EXPECT_EQ(fixtures::cell(frame, 0, 7).style, s.surface);
    EXPECT_EQ(frame.cursor, std::nullopt);

    EXPECT_EQ(fixtures::hit(frame, 10, 1), HitRegion::pressing({WorkspaceAction::Focus{WorkspaceFocus::summary}}));
    EXPECT_EQ(fixtures::hit(frame, 10, 3), HitRegion::pressing({WorkspaceAction::Focus{WorkspaceFocus::description}}));
    EXPECT_EQ(fixtures::hit(frame, 10, 4), HitRegion::pressing({WorkspaceAction::Focus{WorkspaceFocus::description}}));
    EXPECT_EQ(fixtures::hit(frame, 10, 5), HitRegion::pressing({AppAction::Command{AppCommand::addCoAuthor}}));
    EXPECT_EQ(fixtures::hit(frame, 1, 7), HitRegion::pressing({AppAction::Command{AppCommand::commit}}));
    EXPECT_FALSE(fixtures::hit(frame, 1, 2));
}

TEST(CommitBoxView, Geometry) {
    auto state = twoFiles();
    auto& ws = *state.workspace;
    ws.coAuthors = {core::CoAuthor{"Ada", "ada@example.com"}};
    const struct {
        std::int64_t width;
        std::int64_t height;
        std::vector<std::string> rows;
    } cases[] = {
        // Inner width 6: only the rule.
        {8, 4, {"────────", "        ", "        ", "        "}},
        // Inner width 7: a summary field of 5 columns.
        {9, 3, {"─────────", " ◔ Summa ", "  Comm…  "}},
        // H = 2: no description box.
        {14, 5, {"──────────────", " ◔ Summary (r ", "              ", "              ", "  Commit 2 …  "}},
        // H = 3: one text row and no co-author line.
        {14, 6, {"──────────────", " ◔ Summary (r ", " ╭──────────╮ ", " │Descriptio│ ", " ╰──────────╯ ",
                 "  Commit 2 …  "}},
        // H = 4: one text row and the co-author line.
        {14, 7, {"──────────────", " ◔ Summary (r ", " ╭──────────╮ ", " │Descriptio│ ", " │+ Co-autho│ ",
                 " ╰──────────╯ ", "  Commit 2 …  "}},
    };
    for (const auto& c : cases) {
        const UIFrame frame = drawBox(ws, c.width, c.height);
        EXPECT_ROWS(frame, 0, c.rows);
        if (c.width == 8) { EXPECT_TRUE(frame.hits.regions().empty()); }
    }
}

TEST(CommitBoxView, ButtonLabels) {
    const struct {
        const char* name;
        std::optional<RepositoryOperation> operation;
        bool conflicted;
        bool loaded;
        bool committing;
        bool amending;
        std::string label;
    } cases[] = {
        {"plain", std::nullopt, false, true, false, false, "Commit 2 files to main"},
        {"not loaded", std::nullopt, false, false, false, false, "Commit"},
        {"amending", std::nullopt, false, true, false, true, "Amend commit on main"},
        {"committing wins", RepositoryOperation::merge, true, true, true, true, "Committing…"},
        {"conflicts", RepositoryOperation::rebase, true, true, false, false, "Resolve conflicts first"},
        {"merge", RepositoryOperation::merge, false, true, false, true, "Complete merge into main"},
        {"rebase", RepositoryOperation::rebase, false, true, false, false, "Continue rebase"},
        {"cherry-pick", RepositoryOperation::cherryPick, false, true, false, false, "Continue cherry-pick"},
        // A conflicted file without an operation does not block the label.
        {"conflicted without operation", std::nullopt, true, true, false, false, "Commit 2 files to main"},
    };
    for (const auto& c : cases) {
        auto state = fixtures::stateWith({fixtures::file("a"), fixtures::file("b", c.conflicted ? ChangeKind::conflicted
                                                                                                : ChangeKind::modified)});
        auto& ws = *state.workspace;
        ws.status.operation = c.operation;
        ws.isStatusLoaded = c.loaded;
        ws.isCommitting = c.committing;
        ws.isAmending = c.amending;
        const UIFrame frame = drawBox(ws, 40, 8);
        const std::string row = fixtures::row(frame, 7);
        const std::size_t start = row.find_first_not_of(' ');
        EXPECT_EQ(row.substr(start, row.find_last_not_of(' ') + 1 - start), c.label) << c.name;
    }
}

TEST(CommitBoxView, ButtonEnabledOnlyWhenACommitIsPossible) {
    auto state = twoFiles();
    auto& ws = *state.workspace;
    EXPECT_EQ(fixtures::cell(drawBox(ws, 30, 8), 1, 7).style, drawBox(ws, 30, 8).styles.buttonDisabled);
    ws.summary.setText("Summary");
    EXPECT_EQ(fixtures::cell(drawBox(ws, 30, 8), 1, 7).style, drawBox(ws, 30, 8).styles.button);
    ws.changes.included.clear();
    const UIFrame disabled = drawBox(ws, 30, 8);
    EXPECT_EQ(fixtures::cell(disabled, 1, 7).style, disabled.styles.buttonDisabled);
    // The disabled button still sends the command; the state logic refuses it.
    EXPECT_EQ(fixtures::hit(disabled, 1, 7), HitRegion::pressing({AppAction::Command{AppCommand::commit}}));
    EXPECT_NE(fixtures::row(disabled, 7).find("Commit 0 files to main"), std::string::npos);
}

TEST(CommitBoxView, CursorAndScrollingOfTheFields) {
    auto state = twoFiles();
    auto& ws = *state.workspace;
    ws.focus = WorkspaceFocus::summary;
    EXPECT_EQ(drawBox(ws, 20, 8).cursor, (terminal::Point{3, 1}));
    ws.summary.setText("A summary longer than the field");
    UIFrame summary = drawBox(ws, 20, 8);
    // Field of 16 columns from column 3: the last 15 characters and the cursor.
    EXPECT_EQ(fixtures::row(summary, 1), " ◔  than the field  ");
    EXPECT_EQ(summary.cursor, (terminal::Point{18, 1}));

    ws.focus = WorkspaceFocus::description;
    EXPECT_EQ(drawBox(ws, 20, 8).cursor, (terminal::Point{2, 3}));
    // Four lines in a three-row area, the cursor on the last: the first goes.
    ws.description.setText("one\ntwo two two two two two\nthree\nfour four four four four!");
    UIFrame description = drawBox(ws, 20, 8);
    EXPECT_ROWS(description, 3, (std::vector<std::string>{
                                                      " │two two two two │ ",
                                                      " │three           │ ",
                                                      " │four four four! │ ",
                                                  }));
    EXPECT_EQ(description.cursor, (terminal::Point{17, 5}));
    // The cursor on the first line: it stays visible at the top.
    ws.description.setCursor(2);
    UIFrame top = drawBox(ws, 20, 8);
    EXPECT_EQ(fixtures::row(top, 3), " │one             │ ");
    EXPECT_EQ(top.cursor, (terminal::Point{4, 3}));
}

}  // namespace
}  // namespace tarv::ui
