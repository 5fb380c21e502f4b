#include <gtest/gtest.h>

#include "PaneTestFrame.hpp"
#include "TarvUI/Components/ConflictView.hpp"

namespace tarv::ui {
namespace {

using core::ConflictChoice;
using core::ConflictDocument;
using features::AppAction;
using features::WorkspaceAction;
using features::WorkspaceFocus;
using features::WorkspaceState;
using terminal::Rect;
using test::cellAt;
using test::regionAt;
using test::screenRows;

const Theme& theme = Theme::dark;

// Fourteen rows: 0 "one", 1-6 the first block, 7 "two", 8-13 the second.
const ConflictDocument twoBlocks = ConflictDocument::parse(
    "one\n<<<<<<< HEAD\nmine\t1\n=======\ntheirs\x1b[2J\n>>>>>>> feature\ntwo\n"
    "<<<<<<< HEAD\nx\n=======\ny\n>>>>>>> b\n");

WorkspaceState workspace(std::int64_t offset = 0, std::int64_t cursor = 0, std::int64_t horizontal = 0) {
    WorkspaceState ws("/repo", "repo", std::nullopt);
    ws.changes.selectedPath = "a.txt";
    ws.changes.conflictOffset = offset;
    ws.changes.conflictCursor = cursor;
    ws.changes.diff.horizontalOffset = horizontal;
    return ws;
}

UIFrame drawn(const WorkspaceState& ws, const ConflictDocument& document, std::int64_t width, std::int64_t height,
              bool focused = true) {
    UIFrame frame = test::paneFrame(width, height);
    ConflictView::draw(frame, ws, document, Rect(0, 0, width, height), focused);
    return frame;
}

std::int64_t choiceRegions(const UIFrame& frame) {
    std::int64_t count = 0;
    for (const auto& region : frame.hits.regions()) {
        for (const AppAction& action : region.value.press) {
            const auto* workspace = std::get_if<WorkspaceAction>(&action.value);
            if (workspace && std::holds_alternative<WorkspaceAction::ChooseConflict>(workspace->value)) ++count;
        }
    }
    return count;
}

TEST(ConflictView, Golden) {
    const UIFrame frame = drawn(workspace(0, 1), twoBlocks, 70, 14);
    const std::vector<std::string> expected = {
        "   one                                                                ",
        "  \xE2\x9A\xA1 Conflict 1 of 2                                                  ",
        "    A \xC2\xB7 current (m)      B \xC2\xB7 incoming (t)      A + B \xC2\xB7 both (b)       ",
        "   \xE2\x96\x8E Change A \xC2\xB7 current (HEAD)                                        ",
        "   mine    1                                                          ",
        "   \xE2\x96\x8E Change B \xC2\xB7 incoming (feature)                                    ",
        "   theirs\xC2\xB7[2J                                                         ",
        "   two                                                                ",
        "\xE2\x96\x8C \xE2\x9A\xA1 Conflict 2 of 2                                                  ",
        "    A \xC2\xB7 current (m)      B \xC2\xB7 incoming (t)      A + B \xC2\xB7 both (b)       ",
        "   \xE2\x96\x8E Change A \xC2\xB7 current (HEAD)                                        ",
        "   x                                                                  ",
        "   \xE2\x96\x8E Change B \xC2\xB7 incoming (b)                                          ",
        "   y                                                                  ",
    };
    EXPECT_EQ(screenRows(frame), expected);
    EXPECT_FALSE(test::holdsControlCharacter(frame));
    EXPECT_EQ(frame.viewports.diff, 14);
    EXPECT_EQ(frame.viewports.diffWidth, 70);
}

TEST(ConflictView, RowStyles) {
    const UIFrame frame = drawn(workspace(), twoBlocks, 70, 14);
    const ThemeStyles s(theme, false);
    const auto bold = terminal::Attributes::bold;
    EXPECT_EQ(cellAt(frame, 3, 0).style, s.diffContext);
    EXPECT_EQ(cellAt(frame, 5, 1).style, s.hunk.with(std::nullopt, std::nullopt, bold));
    EXPECT_EQ(cellAt(frame, 0, 2).style, s.hunk);
    EXPECT_EQ(cellAt(frame, 4, 2).style, s.buttonSecondary.with(std::nullopt, theme.surfaceRaised.color()));
    EXPECT_EQ(cellAt(frame, 5, 3).style, s.diffAddedGutter.with(std::nullopt, std::nullopt, bold));
    EXPECT_EQ(cellAt(frame, 3, 4).style, s.diffAdded);
    const auto incoming = terminal::Style::plain.with(theme.textPrimary.color(), theme.selectionFocused.color());
    EXPECT_EQ(cellAt(frame, 5, 5).style, incoming.with(std::nullopt, std::nullopt, bold));
    EXPECT_EQ(cellAt(frame, 3, 6).style, incoming);
}

TEST(ConflictView, RegionsChooseASideForTheirBlock) {
    const UIFrame frame = drawn(workspace(), twoBlocks, 70, 14);
    const AppAction focus = WorkspaceAction::Focus{WorkspaceFocus::diff};
    EXPECT_EQ(regionAt(frame, 5, 9)->press,
              (std::vector<AppAction>{focus, WorkspaceAction::ChooseConflict{1, ConflictChoice::current}}));
    EXPECT_EQ(regionAt(frame, 30, 2)->press,
              (std::vector<AppAction>{focus, WorkspaceAction::ChooseConflict{0, ConflictChoice::incoming}}));
    EXPECT_EQ(regionAt(frame, 50, 2)->press,
              (std::vector<AppAction>{focus, WorkspaceAction::ChooseConflict{0, ConflictChoice::both}}));
    EXPECT_FALSE(regionAt(frame, 50, 2)->scroll.has_value());
    // Between the buttons and on text rows: the pane's own region.
    HitRegion pane = HitRegion::scrolling(features::Pane::diff);
    pane.press = {focus};
    EXPECT_EQ(*regionAt(frame, 22, 2), pane);
    EXPECT_EQ(*regionAt(frame, 10, 4), pane);
}

// Buttons that do not fit are left out whole, from the right; a pane of six
// columns or fewer shows nothing.
TEST(ConflictView, ButtonsThatFitByWidth) {
    struct Case {
        std::int64_t width;
        std::int64_t buttons;  // per block
    };
    const Case cases[] = {{7, 0}, {20, 0}, {21, 1}, {42, 1}, {43, 2}, {64, 2}, {65, 3}};
    for (const Case& c : cases) {
        EXPECT_EQ(choiceRegions(drawn(workspace(), twoBlocks, c.width, 14)), 2 * c.buttons) << c.width;
    }
    const UIFrame narrow = drawn(workspace(), twoBlocks, 6, 14);
    EXPECT_TRUE(narrow.hits.regions().empty());
    EXPECT_EQ(screenRows(narrow)[0], "      ");
}

TEST(ConflictView, ResolvedBanner) {
    const ConflictDocument resolved = ConflictDocument::parse("one\ntwo\n");
    const UIFrame frame = drawn(workspace(), resolved, 40, 6);
    const std::vector<std::string> expected = {
        " \xE2\x9C\x93 No conflict markers are left in this ",
        "   Mark as resolved (\xE2\x8F\x8E)                 ",
        "                                        ",
        "   one                                  ",
        "   two                                  ",
        "                                        ",
    };
    EXPECT_EQ(screenRows(frame), expected);
    EXPECT_EQ(cellAt(frame, 1, 0).style, ThemeStyles(theme, false).success);
    EXPECT_EQ(cellAt(frame, 1, 1).style, ThemeStyles(theme, false).button);
    EXPECT_EQ(regionAt(frame, 10, 1)->press,
              (std::vector<AppAction>{WorkspaceAction::Focus{WorkspaceFocus::diff}, WorkspaceAction::MarkResolved{"a.txt"}}));
    EXPECT_EQ(frame.viewports.diff, 3);

    // Three rows leave only the banner; the viewports keep their values.
    const UIFrame small = drawn(workspace(), resolved, 40, 3);
    EXPECT_EQ(screenRows(small)[2], std::string(40, ' '));
    EXPECT_EQ(small.viewports, features::Viewports{});

    // Without a selected file there is no banner.
    WorkspaceState none = workspace();
    none.changes.selectedPath.reset();
    EXPECT_EQ(screenRows(drawn(none, resolved, 40, 6))[0], "   one                                  ");
}

TEST(ConflictView, ScrollingAndTheCursor) {
    struct Case {
        const char* name;
        WorkspaceState ws;
        bool focused;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {"offset past the end: the last row on the last line", workspace(99, 1), true,
         {"   \xE2\x96\x8E Change A \xC2\xB7 current (HEAD\xE2\x94\x82",
          "   x                         \xE2\x94\x82",
          "   \xE2\x96\x8E Change B \xC2\xB7 incoming (b) \xE2\x94\x82",
          "   y                         \xE2\x94\x83"}},
        {"cursor only on its own block", workspace(7, 0), true,
         {"   two                       \xE2\x94\x82",
          "  \xE2\x9A\xA1 Conflict 2 of 2         \xE2\x94\x82",
          "    A \xC2\xB7 current (m)          \xE2\x94\x83",
          "   \xE2\x96\x8E Change A \xC2\xB7 current (HEAD\xE2\x94\x82"}},
        {"no cursor without the focus", workspace(8, 1), false,
         {"  \xE2\x9A\xA1 Conflict 2 of 2         \xE2\x94\x82",
          "    A \xC2\xB7 current (m)          \xE2\x94\x82",
          "   \xE2\x96\x8E Change A \xC2\xB7 current (HEAD\xE2\x94\x83",
          "   x                         \xE2\x94\x82"}},
        {"horizontal scrolling moves text and labels, not titles or buttons", workspace(0, 0, 2), true,
         {"   e                         \xE2\x94\x83",
          "\xE2\x96\x8C \xE2\x9A\xA1 Conflict 1 of 2         \xE2\x94\x82",
          "    A \xC2\xB7 current (m)          \xE2\x94\x82",
          "   Change A \xC2\xB7 current (HEAD) \xE2\x94\x82"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(screenRows(drawn(c.ws, twoBlocks, 30, 4, c.focused)), c.rows) << c.name;
    }
}

}  // namespace
}  // namespace tarv::ui
