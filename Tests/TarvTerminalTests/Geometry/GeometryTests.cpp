#include <gtest/gtest.h>

#include "TarvTerminal/Buffer/Canvas.hpp"
#include "TarvTerminal/Geometry/Layout.hpp"
#include "TarvTerminal/Geometry/Rect.hpp"

namespace tarv::terminal {
namespace {

TEST(Rect, NegativeSizeIsRaisedToZeroAndContainsNothing) {
    const Rect r(5, 5, -3, 2);
    EXPECT_EQ(r.size.width, 0);
    EXPECT_TRUE(r.isEmpty());
    EXPECT_FALSE(r.contains(Point{5, 5}));
}

TEST(Rect, ContainsUsesHalfOpenRanges) {
    const Rect r(2, 3, 4, 5);
    EXPECT_FALSE(r.contains(Point{6, 3}));
    EXPECT_TRUE(r.contains(Point{2, 7}));
    EXPECT_FALSE(r.contains(Point{2, 8}));
    EXPECT_TRUE(r.contains(Point{5, 3}));
    EXPECT_FALSE(r.contains(Point{1, 3}));
}

TEST(Rect, IntersectionWithoutOverlapKeepsTheOrigin) {
    EXPECT_EQ(Rect(0, 0, 10, 10).intersection(Rect(20, 20, 5, 5)), Rect(20, 20, 0, 0));
    EXPECT_EQ(Rect(0, 0, 10, 10).intersection(Rect(5, -2, 10, 4)), Rect(5, 0, 5, 2));
}

TEST(Rect, InsetShrinksOrGrows) {
    EXPECT_EQ(Rect(0, 0, 1, 1).inset(1), Rect(1, 1, 0, 0));
    EXPECT_EQ(Rect(2, 2, 4, 4).inset(-1), Rect(1, 1, 6, 6));
}

std::vector<std::int64_t> widths(const std::vector<Rect>& rects, Axis axis) {
    std::vector<std::int64_t> out;
    for (const Rect& r : rects) out.push_back(axis == Axis::horizontal ? r.size.width : r.size.height);
    return out;
}

TEST(Layout, SplitTable) {
    using C = Constraint;
    struct Case {
        Rect rect;
        Axis axis;
        std::vector<Constraint> constraints;
        std::vector<std::int64_t> sizes;
    };
    const std::vector<Case> cases = {
        {Rect(0, 0, 80, 3), Axis::horizontal, {C::length(20), C::fill(1), C::fill(2)}, {20, 20, 40}},
        {Rect(0, 0, 10, 3), Axis::horizontal, {C::fill(1), C::fill(1), C::fill(1)}, {3, 3, 4}},
        {Rect(0, 0, 3, 5), Axis::vertical, {C::length(3), C::length(4), C::fill(1)}, {3, 2, 0}},
        {Rect(0, 0, 10, 1), Axis::horizontal, {C::fill(0), C::fill(-4)}, {5, 5}},
        {Rect(0, 0, 10, 1), Axis::horizontal, {C::length(2)}, {2}},
        {Rect(0, 0, 10, 1), Axis::horizontal, {C::length(-3), C::fill(1)}, {0, 10}},
        {Rect(0, 0, 10, 1), Axis::horizontal, {}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(widths(Layout::split(c.rect, c.axis, c.constraints), c.axis), c.sizes);
    }
}

TEST(Layout, RectanglesFollowEachOtherAndSpanTheCrossAxis) {
    const auto rects = Layout::split(Rect(4, 2, 30, 7), Axis::horizontal,
                                     {Constraint::length(10), Constraint::fill(1)});
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0], Rect(4, 2, 10, 7));
    EXPECT_EQ(rects[1], Rect(14, 2, 20, 7));
    const auto rows = Layout::split(Rect(4, 2, 30, 7), Axis::vertical, {Constraint::length(3), Constraint::fill(1)});
    EXPECT_EQ(rows[0], Rect(4, 2, 30, 3));
    EXPECT_EQ(rows[1], Rect(4, 5, 30, 4));
}

// Runs the steps on a stack over columns 1..<4 and rows 1..<6 of a 5 x 8
// canvas; each taken rectangle is drawn in the next letter, the rest in
// dots (drawn first, so taken rows cover it).
std::vector<std::string> stacked(const std::string& steps) {
    Canvas canvas(Size{5, 8});
    Layout::RowStack stack(Rect(1, 1, 3, 5));
    std::vector<Rect> taken;
    for (std::size_t i = 0; i + 1 < steps.size(); i += 2) {
        const std::int64_t count = steps[i + 1] == '-' ? -1 : steps[i + 1] - '0';
        switch (steps[i]) {
            case 't': taken.push_back(stack.take(count)); break;
            case 's': stack.skip(count); break;
            case 'T': taken.push_back(stack.takeBottom(count)); break;
            case 'S': stack.skipBottom(count); break;
        }
    }
    const auto paint = [&](const Rect& r, char letter) {
        for (std::int64_t y = r.minY(); y < r.maxY(); ++y) {
            canvas.draw(std::string(r.size.width, letter), Point{r.minX(), y}, Style::plain);
        }
    };
    paint(stack.rest(), '.');
    for (std::size_t i = 0; i < taken.size(); ++i) paint(taken[i], static_cast<char>('a' + i));
    std::vector<std::string> rows;
    for (std::int64_t y = 0; y < 8; ++y) rows.push_back(canvas.grid().text(y));
    return rows;
}

// Steps: t take, s skip, T take from the bottom, S skip from the bottom,
// each followed by its count ('-' for -1).
TEST(Layout, RowStackTable) {
    struct Case {
        std::string steps;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        // A prompt: blank, field, blank, message; buttons at the bottom.
        {"s1t1s1t1T1", {"     ", "     ", " aaa ", "     ", " bbb ", " ccc ", "     ", "     "}},
        // Several rows at once, a gap above the bottom row, the rest between.
        {"t2T1S1", {"     ", " aaa ", " aaa ", " ... ", "     ", " bbb ", "     ", "     "}},
        // Taken from the bottom in turn: each lies above the one before.
        {"T1T2", {"     ", " ... ", " ... ", " bbb ", " bbb ", " aaa ", "     ", "     "}},
        // The ends meet: the bottom row covers the last top row, no rest.
        {"t3T3", {"     ", " aaa ", " aaa ", " bbb ", " bbb ", " bbb ", "     ", "     "}},
        // Past the bottom the rows go on below the area.
        {"t4t2", {"     ", " aaa ", " aaa ", " aaa ", " aaa ", " bbb ", " bbb ", "     "}},
        // A negative count takes nothing (a and b are empty) and moves nothing.
        {"t-s-T-t1", {"     ", " ccc ", " ... ", " ... ", " ... ", " ... ", "     ", "     "}},
        // Nothing taken: the rest is the whole area.
        {"", {"     ", " ... ", " ... ", " ... ", " ... ", " ... ", "     ", "     "}},
    };
    for (const Case& c : cases) EXPECT_EQ(stacked(c.steps), c.rows) << c.steps;
}

TEST(Layout, RowStackRestIsEmptyOnceTheEndsMeet) {
    Layout::RowStack stack(Rect(2, 3, 10, 4));
    stack.take(3);
    stack.takeBottom(1);
    EXPECT_EQ(stack.rest(), Rect(2, 6, 10, 0));
    stack.take(2);
    EXPECT_EQ(stack.rest(), Rect(2, 8, 10, 0));
    EXPECT_EQ(stack.takeBottom(1), Rect(2, 5, 10, 1));
}

}  // namespace
}  // namespace tarv::terminal
