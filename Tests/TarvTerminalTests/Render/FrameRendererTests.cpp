#include <gtest/gtest.h>

#include "TarvTerminal/Buffer/Canvas.hpp"
#include "TarvTerminal/Render/FrameRenderer.hpp"

namespace tarv::terminal {
namespace {

const std::string begin = "\x1b[?2026h\x1b[?25l";
const std::string end = "\x1b[?2026l";
const std::string kan = "\xE6\xBC\xA2";

Grid textGrid(const std::string& text, std::int64_t width, const Style& style = Style::plain) {
    Canvas canvas(Size{width, 1});
    canvas.draw(text, Point{0, 0}, style);
    return std::move(canvas).grid();
}

TEST(FrameRenderer, FirstFrameRepaintsEverything) {
    FrameRenderer renderer(ColorSupport::trueColor);
    EXPECT_EQ(renderer.render(textGrid("abc", 3), std::nullopt),
              begin + "\x1b[0m\x1b[2J\x1b[1;1H\x1b[0mabc" + end);
}

TEST(FrameRenderer, SameFrameWritesNothingOrOnlyTheCursor) {
    FrameRenderer renderer(ColorSupport::trueColor);
    renderer.render(textGrid("abc", 3), std::nullopt);
    EXPECT_EQ(renderer.render(textGrid("abc", 3), std::nullopt), "");
    EXPECT_EQ(renderer.render(textGrid("abc", 3), Point{5, 0}), begin + "\x1b[1;6H\x1b[?25h" + end);
}

TEST(FrameRenderer, CursorLeftOfTheScreenIsPlacedAtItsEdge) {
    FrameRenderer renderer(ColorSupport::trueColor);
    renderer.render(textGrid("abc", 3), std::nullopt);
    EXPECT_EQ(renderer.render(textGrid("abc", 3), Point{-4, -1}), begin + "\x1b[1;1H\x1b[?25h" + end);
}

TEST(FrameRenderer, OneChangedCellIsOneMoveAndNoStyle) {
    FrameRenderer renderer(ColorSupport::trueColor);
    renderer.render(textGrid("abc", 3), std::nullopt);
    EXPECT_EQ(renderer.render(textGrid("axc", 3), std::nullopt), begin + "\x1b[1;2Hx" + end);
}

TEST(FrameRenderer, ConsecutiveChangedCellsNeedNoMove) {
    FrameRenderer renderer(ColorSupport::trueColor);
    renderer.render(textGrid("abcdef", 6), std::nullopt);
    EXPECT_EQ(renderer.render(textGrid("aXYdeZ", 6), std::nullopt), begin + "\x1b[1;2HXY\x1b[1;6HZ" + end);
}

TEST(FrameRenderer, OtherSizeOrInvalidateRepaintsEverything) {
    FrameRenderer renderer(ColorSupport::trueColor);
    renderer.render(textGrid("abc", 3), std::nullopt);
    EXPECT_EQ(renderer.render(textGrid("abcd", 4), std::nullopt),
              begin + "\x1b[0m\x1b[2J\x1b[1;1H\x1b[0mabcd" + end);
    renderer.invalidate();
    EXPECT_EQ(renderer.render(textGrid("abcd", 4), std::nullopt),
              begin + "\x1b[0m\x1b[2J\x1b[1;1H\x1b[0mabcd" + end);
}

TEST(FrameRenderer, WideCharacterIsWrittenOnceAndTheNextCellPositionedExplicitly) {
    FrameRenderer renderer(ColorSupport::trueColor);
    EXPECT_EQ(renderer.render(textGrid("a" + kan + "b", 4), std::nullopt),
              begin + "\x1b[0m\x1b[2J\x1b[1;1H\x1b[0ma" + kan + "\x1b[1;4Hb" + end);
}

// A terminal that draws an emoji in one column, or a combining mark in none,
// must not shift the rest of the row: every cell after non-ASCII text is
// positioned.
TEST(FrameRenderer, EveryCellAfterNonAsciiTextIsPositioned) {
    FrameRenderer renderer(ColorSupport::none);
    EXPECT_EQ(renderer.render(textGrid("e\xCC\x81x\xE2\x9C\x85y", 5), std::nullopt),
              begin + "\x1b[0m\x1b[2J\x1b[1;1H\x1b[0me\xCC\x81\x1b[1;2Hx\xE2\x9C\x85\x1b[1;5Hy" + end);
}

TEST(FrameRenderer, ReplacingAWideCharacterByTwoNarrowOnes) {
    FrameRenderer renderer(ColorSupport::trueColor);
    renderer.render(textGrid(kan + "c", 3), std::nullopt);
    EXPECT_EQ(renderer.render(textGrid("abc", 3), std::nullopt), begin + "\x1b[1;1Hab" + end);
}

TEST(FrameRenderer, StyleTable) {
    struct Case {
        ColorSupport support;
        Style style;
        std::string sgr;
    };
    const Style boldRed = Style::plain.with(Color::rgb(255, 0, 0), std::nullopt, Attributes::bold);
    const Case cases[] = {
        {ColorSupport::trueColor, boldRed, "\x1b[0;1;38;2;255;0;0m"},
        {ColorSupport::ansi256, boldRed, "\x1b[0;1;38;5;196m"},
        {ColorSupport::ansi16, boldRed, "\x1b[0;1;31m"},
        {ColorSupport::none, boldRed, "\x1b[0;1m"},
        {ColorSupport::ansi16, Style::plain.with(std::nullopt, Color::indexed(200)), "\x1b[0m"},
        {ColorSupport::ansi16, Style::plain.with(Color::indexed(12), Color::indexed(12)), "\x1b[0;94;104m"},
        {ColorSupport::ansi256, Style::plain.with(Color::indexed(3), Color::indexed(200)), "\x1b[0;33;48;5;200m"},
        {ColorSupport::trueColor, Style::plain.with(std::nullopt, Color::rgb(1, 2, 3)), "\x1b[0;48;2;1;2;3m"},
        {ColorSupport::trueColor,
         Style{Color::defaultColor(), Color::defaultColor(), Attributes{Attributes::inverse, Attributes::underline}},
         "\x1b[0;4;7m"},
        {ColorSupport::trueColor,
         Style{Color::indexed(1), Color::defaultColor(),
               Attributes{Attributes::strikethrough, Attributes::italic, Attributes::dim}},
         "\x1b[0;2;3;9;31m"},
    };
    for (const Case& c : cases) {
        FrameRenderer renderer(c.support);
        EXPECT_EQ(renderer.render(textGrid("a", 1, c.style), std::nullopt),
                  begin + "\x1b[0m\x1b[2J\x1b[1;1H" + c.sgr + "a" + end);
    }
}

TEST(FrameRenderer, StyleCarriesOverFramesAndChangesOnlyWhenNeeded) {
    const Style red = Style::plain.with(Color::indexed(1), std::nullopt);
    FrameRenderer renderer(ColorSupport::ansi256);
    Canvas first(Size{4, 1});
    first.draw("ab", Point{0, 0}, red);
    first.draw("cd", Point{2, 0}, Style::plain);
    EXPECT_EQ(renderer.render(first.grid(), std::nullopt),
              begin + "\x1b[0m\x1b[2J\x1b[1;1H\x1b[0;31mab\x1b[0mcd" + end);
    Canvas second(Size{4, 1});
    second.draw("ab", Point{0, 0}, red);
    second.draw("cX", Point{2, 0}, Style::plain);
    EXPECT_EQ(renderer.render(second.grid(), std::nullopt), begin + "\x1b[1;4HX" + end);
}

TEST(FrameRenderer, UnchangedRowsAreSkippedAndCursorIsPlaced) {
    FrameRenderer renderer(ColorSupport::trueColor);
    Canvas a(Size{3, 3});
    a.draw("abc", Point{0, 0}, Style::plain);
    renderer.render(a.grid(), std::nullopt);
    Canvas b(Size{3, 3});
    b.draw("abc", Point{0, 0}, Style::plain);
    b.draw("z", Point{1, 2}, Style::plain);
    EXPECT_EQ(renderer.render(b.grid(), Point{2, 1}), begin + "\x1b[3;2Hz\x1b[2;3H\x1b[?25h" + end);
}

TEST(FrameRenderer, ControlCharactersNeverReachTheTerminal) {
    // A grid filled directly, past the canvas.
    Grid grid(Size{4, 1});
    grid(0, 0).character = "\x1b[2J";
    grid(1, 0).character = "\xC2\x9B";
    grid(2, 0).character = "\xFF";
    grid(3, 0).character = "";
    FrameRenderer renderer(ColorSupport::none);
    const std::string out = renderer.render(grid, std::nullopt);
    EXPECT_EQ(out, begin + "\x1b[0m\x1b[2J\x1b[1;1H\x1b[0m\xC2\xB7\x1b[1;2H\xC2\xB7\x1b[1;3H\xEF\xBF\xBD\x1b[1;4H " +
                       end);
}

TEST(FrameRenderer, ZeroWidthGridWritesNoRows) {
    FrameRenderer renderer(ColorSupport::trueColor);
    EXPECT_EQ(renderer.render(Grid(Size{0, 5}), std::nullopt), begin + "\x1b[0m\x1b[2J" + end);
}

}  // namespace
}  // namespace tarv::terminal
