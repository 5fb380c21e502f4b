#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tarv::terminal
