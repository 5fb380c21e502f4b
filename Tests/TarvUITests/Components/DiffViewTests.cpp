#include <gtest/gtest.h>

#include "PaneTestFrame.hpp"
#include "TarvUI/Components/DiffView.hpp"

namespace tarv::ui {
namespace {

using core::Diff;
using core::DiffHunk;
using core::DiffLine;
using core::LineRef;
using features::AppAction;
using features::DiffViewState;
using features::Pane;
using features::SelectedLines;
using features::WorkspaceAction;
using features::WorkspaceFocus;
using terminal::Color;
using terminal::Rect;
using test::cellAt;
using test::regionAt;
using test::screenRows;

const Theme& theme = Theme::dark;

DiffLine context(std::string_view text, std::int64_t n) { return DiffLine{DiffLine::Kind::context, text, n, n}; }
DiffLine removed(std::string_view text, std::int64_t n) {
    return DiffLine{DiffLine::Kind::removed, text, n, std::nullopt};
}
DiffLine added(std::string_view text, std::int64_t n) { return DiffLine{DiffLine::Kind::added, text, std::nullopt, n}; }
DiffLine noNewline() {
    return DiffLine{DiffLine::Kind::noNewlineMarker, "No newline at end of file", std::nullopt, std::nullopt};
}

// Unified rows: 0 header, 1-4 the first hunk's lines, 5 header, 6-8 the
// second hunk's lines.
Diff sample() {
    Diff d;
    d.hunks.push_back(DiffHunk{"@@ -1,3 +1,3 @@ int main", 1, 3, 1, 3,
                               {context("#include <stdio.h>", 1), removed("int x = 1;", 2), added("int x = 2;", 2),
                                context("return x;", 3)}});
    d.hunks.push_back(DiffHunk{"@@ -10,1 +10,2 @@", 10, 1, 10, 2, {context("a", 10), added("b", 11), noNewline()}});
    return d;
}

DiffViewState loaded(Diff diff, bool split = false, std::string path = "src/main.c") {
    DiffViewState view(split);
    view.path = std::move(path);
    view.setDiff(std::move(diff));
    return view;
}

struct Drawn {
    UIFrame frame;
    std::vector<std::string> rows;
};

Drawn draw(const DiffViewState& view, std::int64_t width, std::int64_t height, Pane pane = Pane::historyDiff,
           bool focused = false, const SelectedLines* selection = nullptr, bool monochrome = false) {
    UIFrame frame = test::paneFrame(width, height, monochrome);
    DiffLineCache cache;
    DiffView::draw(frame, view, Rect(0, 0, width, height), pane, focused, selection, cache);
    std::vector<std::string> rows = screenRows(frame);
    return Drawn{std::move(frame), std::move(rows)};
}

TEST(DiffView, UnifiedGolden) {
    const Drawn d = draw(loaded(sample()), 40, 10);
    const std::vector<std::string> expected = {
        " @@ -1,3 +1,3 @@ int main               ",
        "  1  1   #include <stdio.h>             ",
        "  2    \xE2\x88\x92 int x = 1;                     ",
        "     2 + int x = 2;                     ",
        "  3  3   return x;                      ",
        " @@ -10,1 +10,2 @@                      ",
        " 10 10   a                              ",
        "    11 + b                              ",
        "       \\ \\ No newline at end of file    ",
        "                                        ",
    };
    EXPECT_EQ(d.rows, expected);
    EXPECT_EQ(d.frame.viewports.diff, 10);
    EXPECT_EQ(d.frame.viewports.diffWidth, 40);
}

TEST(DiffView, UnifiedGoldenWithCheckBoxesAndCursor) {
    DiffViewState view = loaded(sample());
    view.cursor = 2;
    const SelectedLines selection = SelectedLines::some({LineRef{0, 1}});
    const Drawn d = draw(view, 40, 9, Pane::diff, true, &selection);
    const std::vector<std::string> expected = {
        " \xE2\x97\xAA @@ -1,3 +1,3 @@ int main             ",
        "    1  1   #include <stdio.h>           ",
        "\xE2\x96\x8C\xE2\x98\x91  2    \xE2\x88\x92 int x = 1;                   ",
        " \xE2\x98\x90     2 + int x = 2;                   ",
        "    3  3   return x;                    ",
        " \xE2\x98\x90 @@ -10,1 +10,2 @@                    ",
        "   10 10   a                            ",
        " \xE2\x98\x90    11 + b                            ",
        "         \\ \\ No newline at end of file  ",
    };
    EXPECT_EQ(d.rows, expected);
}

TEST(DiffView, SideBySideGolden) {
    // Eight rows in nine: no scroll bar, C = 41, halves of 20 around the divider.
    const Drawn d = draw(loaded(sample(), true), 41, 9);
    const std::vector<std::string> expected = {
        " @@ -1,3 +1,3 @@ int main                ",
        "  1   #include <stdi\xE2\x94\x82  1   #include <stdi",
        "  2 \xE2\x88\x92 int x = 1;    \xE2\x94\x82  2 + int x = 2;    ",
        "  3   return x;     \xE2\x94\x82  3   return x;     ",
        " @@ -10,1 +10,2 @@                       ",
        " 10   a             \xE2\x94\x82 10   a             ",
        "                    \xE2\x94\x82 11 + b             ",
        "                    \xE2\x94\x82    \\ \\ No newline a",
        "                                         ",
    };
    EXPECT_EQ(d.rows, expected);
}

// An even content width gives the right half the extra column; the divider
// moves with the scroll bar's column.
TEST(DiffView, SideBySideDividerForEvenAndOddWidths) {
    struct Case {
        std::int64_t width;
        std::int64_t height;
        std::int64_t divider;
        std::int64_t rightTextColumn;
    };
    const Case cases[] = {
        {80, 20, 39, 46},  // C 80: halves 39 and 40
        {81, 20, 40, 47},  // C 81: halves 40 and 40
        {81, 5, 39, 46},   // 8 rows in 5: C 80
        {20, 20, 9, 16},
    };
    for (const Case& c : cases) {
        const Drawn d = draw(loaded(sample(), true), c.width, c.height);
        EXPECT_EQ(cellAt(d.frame, c.divider, 1).character, "\xE2\x94\x82") << c.width << "x" << c.height;
        const auto text = regionAt(d.frame, c.rightTextColumn, 1);
        ASSERT_TRUE(text);
        ASSERT_TRUE(text->text.has_value()) << c.width << "x" << c.height;
        EXPECT_EQ(*text->text, (HitRegion::TextHit{1, 1, c.rightTextColumn, 0})) << c.width << "x" << c.height;
    }
}

TEST(DiffView, MessagesInsteadOfContent) {
    DiffViewState failed = loaded(sample());
    failed.error = "fatal: bad \x1b[31mobject";
    DiffViewState loading(false);
    loading.begin("a.txt");
    DiffViewState binary = loaded(Diff{true, {}});
    DiffViewState empty = loaded(Diff{});
    const DiffViewState nothing(false);
    struct Case {
        const char* name;
        const DiffViewState* view;
        std::string row1;
        Color foreground;
    };
    const Case cases[] = {
        {"error", &failed, "  fatal: bad [31mobj ", theme.danger.color()},
        {"loading", &loading, "  Loading\xE2\x80\xA6           ", theme.textSecondary.color()},
        {"binary", &binary, "  Binary file: diff  ", theme.textSecondary.color()},
        {"empty", &empty, "  No content changes ", theme.textSecondary.color()},
        {"nothing", &nothing, "                     ", theme.textPrimary.color()},  // the pane's background
    };
    for (const Case& c : cases) {
        const Drawn d = draw(*c.view, 21, 3);
        EXPECT_EQ(d.rows[1], c.row1) << c.name;
        EXPECT_EQ(cellAt(d.frame, 2, 1).style.foreground, c.foreground) << c.name;
        EXPECT_EQ(d.frame.hits.regions().size(), 1u) << c.name;
    }
}

// Text from the repository never reaches the terminal as control
// characters: escape sequences, C1 controls, BEL, DEL and carriage returns
// in diff lines and hunk headers are shown as "·".
TEST(DiffView, ControlCharactersInDiffLinesAreShownAsDots) {
    Diff diff;
    diff.hunks.push_back(DiffHunk{"@@ -1,2 +1,2 @@ f\x1b]0;pwned\x07", 1, 2, 1, 2,
                                  {removed("a\x1b[2J\x1b[Hb", 1), added("\xC2\x9B" "31mc\xC2\x85" "d", 1),
                                   context("e\x7F\rf", 2)}});
    for (bool split : {false, true}) {
        const Drawn d = draw(loaded(diff, split, "notes.txt"), 36, 4);
        const std::vector<std::string> unified = {
            " @@ -1,2 +1,2 @@ f\xC2\xB7]0;pwned\xC2\xB7        ",
            " 1   \xE2\x88\x92 a\xC2\xB7[2J\xC2\xB7[Hb                    ",
            "   1 + \xC2\xB7" "31mc\xC2\xB7" "d                      ",
            " 2 2   e\xC2\xB7\xC2\xB7" "f                         ",
        };
        const std::vector<std::string> sideBySide = {
            " @@ -1,2 +1,2 @@ f\xC2\xB7]0;pwned\xC2\xB7        ",
            " 1 \xE2\x88\x92 a\xC2\xB7[2J\xC2\xB7[Hb   \xE2\x94\x82 1 + \xC2\xB7" "31mc\xC2\xB7" "d      ",
            " 2   e\xC2\xB7\xC2\xB7" "f        \xE2\x94\x82 2   e\xC2\xB7\xC2\xB7" "f         ",
            "                                    ",
        };
        EXPECT_EQ(d.rows, split ? sideBySide : unified) << split;
        EXPECT_FALSE(test::holdsControlCharacter(d.frame)) << split;
    }
}

TEST(DiffView, StylesOfLinesSyntaxEmphasisAndSelection) {
    DiffViewState view = loaded(sample());
    view.textSelection = features::DiffTextSelection{{4, 0, 0}, {4, 0, 6}};
    const Drawn d = draw(view, 40, 10);
    const ThemeStyles s(theme, false);
    // Row 2 is "int x = 1;" removed; W = 2, so the text starts at column 9.
    EXPECT_EQ(cellAt(d.frame, 20, 2).style.background, theme.diffRemovedBackground.color());
    EXPECT_EQ(cellAt(d.frame, 6, 2).style, s.diffRemovedGutter);
    EXPECT_EQ(cellAt(d.frame, 6, 3).style, s.diffAddedGutter);
    EXPECT_EQ(cellAt(d.frame, 9, 2).style.foreground, theme.syntaxKeyword.color());
    EXPECT_EQ(cellAt(d.frame, 13, 2).style, s.diffRemoved);
    // The changed word: "1" on the removed line, "2" on the added one.
    EXPECT_EQ(cellAt(d.frame, 17, 2).character, "1");
    EXPECT_EQ(cellAt(d.frame, 17, 2).style.background, theme.diffRemovedEmphasis.color());
    EXPECT_EQ(cellAt(d.frame, 17, 2).style.foreground, theme.syntaxNumber.color());
    EXPECT_EQ(cellAt(d.frame, 17, 3).style.background, theme.diffAddedEmphasis.color());
    EXPECT_EQ(cellAt(d.frame, 15, 3).style.background, theme.diffAddedBackground.color());
    // Row 4 "return x;": columns 0 ..< 6 selected.
    EXPECT_EQ(cellAt(d.frame, 14, 4).style.background, theme.selectionFocused.color());
    EXPECT_EQ(cellAt(d.frame, 15, 4).style.background, theme.background.color());
    EXPECT_EQ(cellAt(d.frame, 1, 0).style, s.hunk);
    EXPECT_EQ(cellAt(d.frame, 10, 8).style, s.dim);  // the no-newline text

    // Monochrome leaves the syntax colours out, nothing else.
    const Drawn mono = draw(view, 40, 10, Pane::historyDiff, false, nullptr, true);
    EXPECT_EQ(cellAt(mono.frame, 9, 2).style.foreground, theme.textPrimary.color());
    EXPECT_EQ(cellAt(mono.frame, 17, 2).style.background, theme.diffRemovedEmphasis.color());
}

TEST(DiffView, CheckBoxColoursAndHunkBoxStates) {
    const ThemeStyles s(theme, false);
    Diff diff = sample();
    diff.hunks.push_back(DiffHunk{"@@ -20,1 +21,1 @@", 20, 1, 21, 1, {context("same", 20)}});
    struct Case {
        const char* name;
        SelectedLines selection;
        std::string firstHunkBox;
        std::string lastHunkRow;
    };
    const Case cases[] = {
        {"none", SelectedLines::none(), "\xE2\x98\x90", "   @@ -20,1 +21,1 @@"},
        {"all", SelectedLines::all(), "\xE2\x98\x91", "   @@ -20,1 +21,1 @@"},
        {"some", SelectedLines::some({LineRef{0, 2}}), "\xE2\x97\xAA", "   @@ -20,1 +21,1 @@"},
        {"every change line", SelectedLines::some({LineRef{0, 1}, LineRef{0, 2}}), "\xE2\x98\x91", "   @@ -20,1 +21,1 @@"},
        {"context lines do not count", SelectedLines::some({LineRef{0, 0}}), "\xE2\x98\x90", "   @@ -20,1 +21,1 @@"},
    };
    for (const Case& c : cases) {
        const Drawn d = draw(loaded(diff), 40, 12, Pane::diff, false, &c.selection);
        EXPECT_EQ(cellAt(d.frame, 1, 0).character, c.firstHunkBox) << c.name;
        const Color expected = c.firstHunkBox == "\xE2\x98\x90" ? theme.textSecondary.color() : theme.accent.color();
        EXPECT_EQ(cellAt(d.frame, 1, 0).style.foreground, expected) << c.name;
        EXPECT_EQ(d.rows[9].substr(0, 20), c.lastHunkRow) << c.name;  // a hunk of context only has no box
    }
    const SelectedLines one = SelectedLines::some({LineRef{0, 1}});
    const Drawn d = draw(loaded(sample()), 40, 12, Pane::diff, false, &one);
    EXPECT_EQ(cellAt(d.frame, 1, 2).style, s.diffRemovedGutter.with(theme.accent.color(), std::nullopt));
    EXPECT_EQ(cellAt(d.frame, 1, 3).style, s.diffAddedGutter.with(theme.textSecondary.color(), std::nullopt));
}

TEST(DiffView, RegionsOfTheChangesPane) {
    DiffViewState view = loaded(sample());
    view.horizontalOffset = 3;
    const SelectedLines selection = SelectedLines::some({LineRef{0, 1}});
    const Drawn d = draw(view, 40, 10, Pane::diff, true, &selection);
    const auto scroll = HitRegion::ScrollTarget::pane(Pane::diff);
    const AppAction focus = WorkspaceAction::Focus{WorkspaceFocus::diff};

    HitRegion text;
    text.press = {focus, focus, WorkspaceAction::MoveDiffCursorTo{2}};
    text.scroll = scroll;
    text.text = HitRegion::TextHit{2, 0, 11, 3};
    EXPECT_EQ(*regionAt(d.frame, 20, 2), text);

    HitRegion lineBox;
    lineBox.press = {focus, WorkspaceAction::MoveDiffCursorTo{2}, WorkspaceAction::ToggleLine{LineRef{0, 1}}};
    lineBox.scroll = scroll;
    lineBox.line = HitRegion::Line{LineRef{0, 1}, true};
    EXPECT_EQ(*regionAt(d.frame, 2, 2), lineBox);

    HitRegion hunkBox;
    hunkBox.press = {focus, WorkspaceAction::MoveDiffCursorTo{5}, WorkspaceAction::ToggleHunk{1}};
    hunkBox.scroll = scroll;
    EXPECT_EQ(*regionAt(d.frame, 0, 5), hunkBox);

    // The gutter of a context line and a header's text: the row's own region.
    HitRegion row;
    row.press = {focus, WorkspaceAction::MoveDiffCursorTo{1}};
    row.scroll = scroll;
    EXPECT_EQ(*regionAt(d.frame, 5, 1), row);
    EXPECT_EQ(regionAt(d.frame, 20, 5)->press.back(), AppAction(WorkspaceAction::MoveDiffCursorTo{5}));
    // No text region on the no-newline marker.
    EXPECT_FALSE(regionAt(d.frame, 20, 8)->text.has_value());
    // Below the last row: the pane's own region.
    EXPECT_EQ(*regionAt(d.frame, 20, 9), (HitRegion{{focus}, {}, std::nullopt, scroll, std::nullopt, std::nullopt, {}}));
}

// A click on a row's gutter moves the cursor to that row, wherever the pane
// lies and however far it is scrolled; below the last row only the pane's
// own region remains.
TEST(DiffView, AGutterClickNamesTheRowUnderThePointer) {
    const SelectedLines selection = SelectedLines::some({LineRef{0, 1}});
    const AppAction focus = WorkspaceAction::Focus{WorkspaceFocus::diff};
    struct Case {
        bool split;
        std::int64_t offset;
        std::int64_t y;
        std::optional<std::int64_t> row;  // none: below the last row
    };
    const Case cases[] = {
        {false, 3, 2, 3}, {false, 3, 4, 5}, {false, 3, 7, 8}, {false, 3, 8, std::nullopt},
        {true, 1, 2, 1},  {true, 1, 3, 2},
    };
    for (const Case& c : cases) {
        DiffViewState view = loaded(sample(), c.split);
        view.offset = c.offset;
        UIFrame frame = test::paneFrame(42, 12);
        DiffLineCache cache;
        DiffView::draw(frame, view, Rect(1, 2, 40, 9), Pane::diff, true, &selection, cache);
        const auto region = regionAt(frame, 6, c.y);
        ASSERT_TRUE(region);
        const std::vector<AppAction> expected =
            c.row ? std::vector<AppAction>{focus, WorkspaceAction::MoveDiffCursorTo{*c.row}} : std::vector<AppAction>{focus};
        EXPECT_EQ(region->press, expected) << c.split << " y " << c.y;
    }
}

TEST(DiffView, RegionsOfTheHistoryPaneCarryNoRowActions) {
    const Drawn d = draw(loaded(sample(), true), 41, 9);
    const AppAction focus = WorkspaceAction::Focus{WorkspaceFocus::historyDiff};
    const auto scroll = HitRegion::ScrollTarget::pane(Pane::historyDiff);
    HitRegion right;
    right.press = {focus};
    right.scroll = scroll;
    right.text = HitRegion::TextHit{2, 1, 27, 0};
    EXPECT_EQ(*regionAt(d.frame, 30, 2), right);
    HitRegion left = right;
    left.text = HitRegion::TextHit{2, 0, 6, 0};
    EXPECT_EQ(*regionAt(d.frame, 6, 2), left);
    // An empty half has no text region, and no check box appears anywhere.
    EXPECT_FALSE(regionAt(d.frame, 10, 6)->text.has_value());
    EXPECT_EQ(cellAt(d.frame, 10, 6).style, ThemeStyles(theme, false).surface);
    EXPECT_EQ(d.rows[2].substr(0, 3), "  2");
}

TEST(DiffView, ScrollingMovesRowsAndColumnsButNotHeaders) {
    DiffViewState view = loaded(sample());
    view.offset = 4;
    view.horizontalOffset = 2;
    const Drawn d = draw(view, 30, 3);
    const std::vector<std::string> expected = {
        "  3  3   turn x;             \xE2\x94\x82",
        " @@ -10,1 +10,2 @@           \xE2\x94\x83",
        " 10 10                       \xE2\x94\x82",
    };
    EXPECT_EQ(d.rows, expected);

    // An offset past the end shows the last row at the top.
    view.offset = 99;
    view.horizontalOffset = 0;
    EXPECT_EQ(draw(view, 30, 3).rows[0], "       \\ \\ No newline at end \xE2\x94\x82");
}

// Wide characters cut by the window's left edge become blanks; syntax
// colours keep to their characters whatever the offset.
TEST(DiffView, HorizontalOffsetsOverWideCharacters) {
    Diff diff;
    diff.hunks.push_back(DiffHunk{"@@ -1 +1 @@", 1, 1, 1, 1, {context("\xE6\xBC\xA2\xE5\xAD\x97 int x;", 1)}});
    struct Case {
        std::int64_t offset;
        std::string text;  // the text area: 8 columns from column 7
        std::int64_t keywordFrom, keywordTo;  // columns of the area coloured as a keyword
    };
    const Case cases[] = {
        {0, "\xE6\xBC\xA2\xE5\xAD\x97 int", 5, 8},
        {1, " \xE5\xAD\x97 int ", 4, 7},
        {2, "\xE5\xAD\x97 int x", 3, 6},
        {5, "int x;  ", 0, 3},
        {6, "nt x;   ", 0, 2},
        {9, "x;      ", 0, 0},
        {20, "        ", 0, 0},
    };
    for (const Case& c : cases) {
        DiffViewState view = loaded(diff, false, "a.c");
        view.horizontalOffset = c.offset;
        const Drawn d = draw(view, 15, 2);
        EXPECT_EQ(d.rows[1].substr(7), c.text) << c.offset;
        for (std::int64_t column = 0; column < 8; ++column) {
            const bool keyword = column >= c.keywordFrom && column < c.keywordTo;
            EXPECT_EQ(cellAt(d.frame, 7 + column, 1).style.foreground == theme.syntaxKeyword.color(), keyword)
                << c.offset << " at " << column;
        }
    }
}

// The screens leave the pane's cells to the pane: whatever it shows, every
// cell of its rectangle is painted (rows without a diff row, and a column a
// cut double-width character leaves, in the background) and none outside.
TEST(DiffView, PaintsEveryCellOfItsPaneAndNoneOutside) {
    Diff wide;
    wide.hunks.push_back(DiffHunk{"@@ -1 +1 @@", 1, 1, 1, 1, {context("abcdefg\xE6\xBC\xA2", 1)}});
    struct Case {
        const char* name;
        DiffViewState view;
        Rect rect;
    };
    const Case cases[] = {
        {"unified, rows past the end", loaded(sample()), Rect(1, 1, 30, 12)},
        {"side by side, rows past the end", loaded(sample(), true), Rect(1, 1, 30, 12)},
        {"scrolled", [] { DiffViewState v = loaded(sample()); v.offset = 6; return v; }(), Rect(1, 1, 30, 5)},
        {"wide character cut at the right edge", loaded(wide, false, "a.c"), Rect(1, 1, 15, 4)},
        {"a message", loaded(Diff{}), Rect(1, 1, 30, 4)},
        {"nothing loaded", DiffViewState(false), Rect(1, 1, 30, 4)},
        {"too narrow", loaded(sample()), Rect(1, 1, 4, 4)},
    };
    for (const Case& c : cases) {
        UIFrame frame = test::paneFrame(34, 14);
        DiffLineCache cache;
        DiffView::draw(frame, c.view, c.rect, Pane::diff, false, nullptr, cache);
        for (std::int64_t y = 0; y < 14; ++y) {
            for (std::int64_t x = 0; x < 34; ++x) {
                const bool inside = c.rect.contains(terminal::Point{x, y});
                EXPECT_EQ(cellAt(frame, x, y).style.background != Color::defaultColor(), inside)
                    << c.name << " at " << x << "," << y;
            }
        }
    }
}

TEST(DiffView, TooSmallAPaneDrawsAndRegistersNothing) {
    for (const Rect rect : {Rect(0, 0, 4, 5), Rect(0, 0, 30, 0)}) {
        UIFrame frame = test::paneFrame(30, 5);
        DiffView::draw(frame, loaded(sample()), rect, Pane::diff, true, nullptr);
        EXPECT_TRUE(frame.hits.regions().empty());
        EXPECT_EQ(frame.viewports, features::Viewports{});
        EXPECT_EQ(screenRows(frame)[0], std::string(30, ' '));
    }
}

// A frame looks only at the rows it shows: drawing ten rows of a long diff
// builds ten display lines, and scrolling one row builds one more.
TEST(DiffView, OnlyVisibleLinesAreMeasured) {
    DiffHunk hunk{"@@ -1,20000 +1,20000 @@", 1, 20000, 1, 20000, {}};
    for (std::int64_t i = 0; i < 20000; ++i) hunk.lines.push_back(context(std::string(300, 'x'), i + 1));
    Diff diff;
    diff.hunks.push_back(std::move(hunk));
    DiffViewState view = loaded(std::move(diff), false, "big.txt");
    view.offset = 5000;
    DiffLineCache cache;
    UIFrame frame = test::paneFrame(80, 10);
    DiffView::draw(frame, view, Rect(0, 0, 80, 10), Pane::diff, false, nullptr, cache);
    EXPECT_EQ(cache.builds(), 10u);
    view.offset = 5001;
    UIFrame next = test::paneFrame(80, 10);
    DiffView::draw(next, view, Rect(0, 0, 80, 10), Pane::diff, false, nullptr, cache);
    EXPECT_EQ(cache.builds(), 11u);
}

}  // namespace
}  // namespace tarv::ui
