#include <gtest/gtest.h>

#include "TarvTerminal/Buffer/Canvas.hpp"

namespace tarv::terminal {
namespace {

const std::string kan = "\xE6\xBC\xA2";  // 漢
const Style red = Style::plain.with(Color::indexed(1), std::nullopt);
const Style blue = Style::plain.with(Color::indexed(4), std::nullopt);

std::string row(const Canvas& canvas, std::int64_t y) { return canvas.grid().text(y); }

TEST(Canvas, NegativeSizeGivesAnEmptyCanvasThatIgnoresDrawing) {
    Canvas canvas(Size{-1, 3});
    EXPECT_EQ(canvas.grid().size, (Size{0, 3}));
    EXPECT_TRUE(canvas.grid().cells.empty());
    EXPECT_TRUE(canvas.clip.isEmpty());
    canvas.draw("abc", Point{0, 0}, Style::plain);
    canvas.fill(Rect(0, 0, 5, 5), red);
    canvas.box(Rect(0, 0, 5, 3), red, std::string_view("t"));
    canvas.dim(Rect(0, 0, 5, 5));
    EXPECT_TRUE(canvas.grid().cells.empty());
}

TEST(Canvas, DrawTable) {
    struct Case {
        std::string text;
        Point at;
        std::optional<std::int64_t> maxWidth;
        std::int64_t advanced;
        std::string row;
    };
    const Case cases[] = {
        {"a" + kan + "b", Point{0, 0}, std::nullopt, 4, "a" + kan + "b   "},
        {"a" + kan, Point{0, 0}, 2, 1, "a      "},
        {"a" + kan, Point{0, 0}, 3, 3, "a" + kan + "    "},
        {kan, Point{6, 0}, std::nullopt, 2, "       "},
        {"\xCC\x81", Point{0, 0}, std::nullopt, 0, "       "},
        {"abc", Point{-1, 0}, std::nullopt, 3, "bc     "},
        {"abcdefghij", Point{5, 0}, std::nullopt, 10, "     ab"},
        {"a\tb\x1b[2Jc", Point{0, 0}, std::nullopt, 6, "ab[2Jc "},
        {"abe\xCC\x81" "c", Point{0, 0}, std::nullopt, 4, "abe\xCC\x81" "c   "},
        {"ab" + kan + "cd", Point{1, 0}, 4, 4, " ab" + kan + "  "},
        {"abcdef", Point{-2, 0}, 4, 4, "cd     "},
    };
    for (const Case& c : cases) {
        Canvas canvas(Size{7, 1});
        EXPECT_EQ(canvas.draw(c.text, c.at, red, c.maxWidth), c.advanced) << testing::PrintToString(c.text);
        EXPECT_EQ(row(canvas, 0), c.row) << testing::PrintToString(c.text);
    }
}

TEST(Canvas, WideCharacterTakesACellAndAContinuation) {
    Canvas canvas(Size{80, 1});
    canvas.draw("a" + kan + "b", Point{0, 0}, red);
    const Grid& g = canvas.grid();
    EXPECT_EQ(g(1, 0), (Cell{kan, red, false}));
    EXPECT_EQ(g(2, 0), (Cell{" ", red, true}));
    EXPECT_EQ(g(3, 0).character, "b");
}

TEST(Canvas, WideCharacterAtTheLastColumnLeavesABlankInItsStyle) {
    Canvas canvas(Size{4, 1});
    EXPECT_EQ(canvas.draw(kan, Point{3, 0}, red), 2);
    EXPECT_EQ(canvas.grid()(3, 0), (Cell{" ", red, false}));
}

TEST(Canvas, OverwritingEitherHalfOfAWideCharacterBlanksTheOther) {
    Canvas left(Size{4, 1});
    left.draw(kan, Point{1, 0}, red);
    left.setCell(Cell{"x", blue, false}, 1, 0);
    EXPECT_EQ(left.grid()(2, 0), (Cell{" ", red, false}));

    Canvas right(Size{4, 1});
    right.draw(kan, Point{1, 0}, red);
    right.setCell(Cell{"x", blue, false}, 2, 0);
    EXPECT_EQ(right.grid()(1, 0), (Cell{" ", red, false}));
    EXPECT_EQ(right.grid()(2, 0), (Cell{"x", blue, false}));
}

TEST(Canvas, OverlapRepairMayTouchACellOutsideTheClip) {
    Canvas canvas(Size{4, 1});
    canvas.draw(kan, Point{1, 0}, red);
    canvas.withClip(Rect(2, 0, 2, 1), [](Canvas& c) {
        c.setCell(Cell{"x", blue, false}, 1, 0);  // outside the clip: nothing
        c.setCell(Cell{"y", blue, false}, 2, 0);
    });
    EXPECT_EQ(row(canvas, 0), "  y ");
    EXPECT_EQ(canvas.clip, Rect(0, 0, 4, 1));
}

TEST(Canvas, ControlCharactersNeverReachACell) {
    Canvas canvas(Size{6, 1});
    canvas.setCell(Cell{"\x1b", red, false}, 0, 0);
    canvas.setCell(Cell{"\xC2\x9B", red, false}, 1, 0);
    canvas.setCell(Cell{"", red, false}, 2, 0);
    canvas.setCell(Cell{"\xFF", red, false}, 3, 0);
    canvas.setCell(Cell{"ab", red, false}, 4, 0);
    canvas.horizontalLine(0, 5, 1, red, "\n");
    EXPECT_EQ(row(canvas, 0), "\xC2\xB7\xC2\xB7 \xEF\xBF\xBD" "a\xC2\xB7");
    canvas.fill(Rect(0, 0, 6, 1), red, "\x07");
    EXPECT_EQ(canvas.grid()(3, 0).character, "\xC2\xB7");
}

// What a cell stores for the text it is given: a lone scalar as it is,
// anything else reduced as the canvas always does.
TEST(Canvas, CellCharacterTable) {
    struct Case {
        const char* name;
        std::string given;
        std::string stored;
    };
    const Case cases[] = {
        {"one scalar", "\xE2\x94\x82", "\xE2\x94\x82"},
        {"one four-byte scalar", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
        {"a cut sequence", "\xE2\x94", "\xEF\xBF\xBD"},
        {"a surrogate", "\xED\xA0\x80", "\xEF\xBF\xBD"},
        {"an overlong form", "\xC0\xAF", "\xEF\xBF\xBD"},
        {"a C1 control", "\xC2\x85", "\xC2\xB7"},
        {"a cluster of two scalars", "e\xCC\x81", "e\xCC\x81"},
        {"two clusters", "\xE2\x94\x82x", "\xE2\x94\x82"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Canvas::cellCharacter(c.given), c.stored) << c.name;
        Canvas canvas(Size{3, 1});
        canvas.setCell(Cell{c.given, red, false}, 1, 0);
        EXPECT_EQ(canvas.grid()(1, 0).character, c.stored) << c.name;
    }
}

TEST(Canvas, FillStaysInsideClipAndGrid) {
    Canvas canvas(Size{5, 3});
    canvas.withClip(Rect(1, 1, 10, 10), [](Canvas& c) { c.fill(Rect(0, 0, 3, 3), red, "#"); });
    EXPECT_EQ(row(canvas, 0), "     ");
    EXPECT_EQ(row(canvas, 1), " ##  ");
    EXPECT_EQ(row(canvas, 2), " ##  ");
    EXPECT_EQ(canvas.grid()(1, 1).style, red);
}

TEST(Canvas, FillOverWideCharactersBlanksOnlyTheHalvesLeftOutside) {
    struct Case {
        Rect area;
        std::string row;
    };
    const Case cases[] = {
        {Rect(1, 0, 4, 1), " #### " + kan},
        {Rect(3, 0, 1, 1), kan + " #" + kan + kan},
        {Rect(2, 0, 2, 1), kan + "##" + kan + kan},
        {Rect(0, 0, 8, 1), "########"},
    };
    for (const Case& c : cases) {
        Canvas canvas(Size{8, 1});
        canvas.draw(kan + kan + kan + kan, Point{0, 0}, red);
        canvas.fill(c.area, blue, "#");
        EXPECT_EQ(row(canvas, 0), c.row);
        for (std::int64_t x = c.area.minX(); x < c.area.maxX(); ++x) {
            EXPECT_EQ(canvas.grid()(x, 0), (Cell{"#", blue, false})) << x;
        }

        Canvas drawn(Size{8, 1});
        drawn.draw(kan + kan + kan + kan, Point{0, 0}, red);
        drawn.draw(std::string(static_cast<std::size_t>(c.area.size.width), '#'), c.area.origin, blue);
        EXPECT_EQ(drawn.grid(), canvas.grid()) << row(drawn, 0);
    }
}

TEST(Canvas, NestedClipsOnlyNarrow) {
    Canvas canvas(Size{10, 1});
    canvas.withClip(Rect(2, 0, 6, 1), [](Canvas& c) {
        c.withClip(Rect(0, 0, 10, 1), [](Canvas& inner) { inner.draw("0123456789", Point{0, 0}, red); });
    });
    EXPECT_EQ(row(canvas, 0), "  234567  ");
}

TEST(Canvas, BoxTable) {
    struct Case {
        Rect rect;
        std::optional<std::string> title;
        bool rounded;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {Rect(0, 0, 1, 3), std::nullopt, true, {"        ", "        ", "        "}},
        {Rect(0, 0, 2, 2), std::nullopt, true, {"╭╮      ", "╰╯      ", "        "}},
        {Rect(0, 0, 4, 3), std::nullopt, false, {"┌──┐    ", "│  │    ", "└──┘    "}},
        {Rect(0, 0, 6, 3), std::string("Title"), true, {"╭────╮  ", "│    │  ", "╰────╯  "}},
        {Rect(0, 0, 7, 3), std::string("Title"), true, {"╭─ … ─╮ ", "│     │ ", "╰─────╯ "}},
        {Rect(0, 0, 8, 3), std::string("ab"), true, {"╭─ ab ─╮", "│      │", "╰──────╯"}},
    };
    for (const Case& c : cases) {
        Canvas canvas(Size{8, 3});
        canvas.box(c.rect, red, c.title ? std::optional<std::string_view>(*c.title) : std::nullopt, c.rounded);
        for (std::int64_t y = 0; y < 3; ++y) EXPECT_EQ(row(canvas, y), c.rows[static_cast<std::size_t>(y)]);
    }
}

TEST(Canvas, RightAlignedAndLines) {
    Canvas canvas(Size{10, 3});
    canvas.drawRightAligned("abc", 10, 0, red);
    EXPECT_EQ(row(canvas, 0), "       abc");
    canvas.horizontalLine(1, 2, 3, red);
    EXPECT_EQ(row(canvas, 1), "  ───     ");
    canvas.horizontalLine(1, 0, -4, blue);
    canvas.verticalLine(9, 1, 5, red);
    EXPECT_EQ(row(canvas, 2), "         │");
}

TEST(Canvas, DimIgnoresTheClipAndTintHonoursIt) {
    Canvas canvas(Size{4, 1});
    canvas.withClip(Rect(0, 0, 2, 1), [](Canvas& c) {
        c.dim(Rect(0, 0, 4, 1));
        c.tint(Rect(0, 0, 4, 1), Color::indexed(2));
    });
    const Grid& g = canvas.grid();
    EXPECT_TRUE(g(3, 0).style.attributes.contains(Attributes::dim));
    EXPECT_EQ(g(1, 0).style.background, Color::indexed(2));
    EXPECT_EQ(g(3, 0).style.background, Color::defaultColor());
}

TEST(Canvas, RestyleKeepsTheCharactersAndHonoursTheClip) {
    Canvas canvas(Size{5, 2});
    canvas.draw("ab" + kan, Point{0, 0}, red);
    canvas.withClip(Rect(1, 0, 3, 1), [](Canvas& c) { c.restyle(Rect(0, 0, 5, 2), blue); });
    const Grid& g = canvas.grid();
    EXPECT_EQ(g.text(0), "ab" + kan + " ");
    EXPECT_EQ(g(0, 0).style, red);
    for (std::int64_t x = 1; x < 4; ++x) EXPECT_EQ(g(x, 0).style, blue) << x;
    EXPECT_TRUE(g(3, 0).isContinuation);
    EXPECT_EQ(g(4, 0).style, Style{});
    EXPECT_EQ(g(1, 1).style, Style{});
}

TEST(Grid, RowTextSkipsContinuationCells) {
    Canvas canvas(Size{5, 1});
    canvas.draw(kan, Point{0, 0}, red);
    EXPECT_EQ(canvas.grid().text(0), kan + "   ");
    EXPECT_EQ(canvas.grid().row(0).size(), 5u);
}

}  // namespace
}  // namespace tarv::terminal
