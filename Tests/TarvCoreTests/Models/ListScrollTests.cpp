#include "TarvCore/Models/ListScroll.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace tarv::core {
namespace {

using Range = ListScroll::Range;

TEST(ListScrollTest, VisibleRange) {
    struct Row {
        std::int64_t offset, n, h;
        Range expected;
    };
    const std::vector<Row> rows = {
        {0, 10, 4, {0, 4}},  {8, 10, 4, {8, 10}}, {20, 10, 4, {9, 10}}, {-3, 10, 4, {0, 4}},
        {0, 0, 4, {0, 0}},   {0, 10, 0, {0, 0}},  {0, 3, 10, {0, 3}},
    };
    for (const auto& r : rows) {
        const ListScroll scroll{r.offset};
        EXPECT_EQ(scroll.visibleRange(r.n, r.h), r.expected) << r.offset << " " << r.n << " " << r.h;
        EXPECT_EQ(scroll.offset, r.offset);
    }
}

TEST(ListScrollTest, Clamp) {
    ListScroll empty{5, 3};
    empty.clamp(0, 4);
    EXPECT_EQ(empty, (ListScroll{0, std::nullopt}));

    ListScroll scroll{9, 2};
    scroll.clamp(10, 4);
    EXPECT_EQ(scroll, (ListScroll{2, 2}));

    ListScroll beyond{0, 40};
    beyond.clamp(10, 4);
    EXPECT_EQ(beyond, (ListScroll{6, 9}));

    ListScroll noViewport{7, 3};
    noViewport.clamp(10, 0);
    EXPECT_EQ(noViewport, (ListScroll{7, 3}));  // offset within n - 1, selection not scrolled
}

TEST(ListScrollTest, SelectAndMove) {
    ListScroll scroll;
    scroll.move(1, 10, 4);
    EXPECT_EQ(scroll, (ListScroll{0, 0}));

    scroll = ListScroll{};
    scroll.move(-1, 10, 4);
    EXPECT_EQ(scroll, (ListScroll{6, 9}));

    scroll = ListScroll{};
    scroll.move(100, 10, 4);
    EXPECT_EQ(scroll, (ListScroll{6, 9}));  // the last item is the last visible row
    scroll.move(-100, 10, 4);
    EXPECT_EQ(scroll, (ListScroll{0, 0}));  // clamps, never wraps
    scroll.move(std::numeric_limits<std::int64_t>::max(), 10, 4);
    EXPECT_EQ(scroll.selected, 9);

    scroll = ListScroll{3, 5};
    scroll.move(1, 0, 4);
    EXPECT_EQ(scroll, (ListScroll{3, std::nullopt}));  // offset untouched

    scroll = ListScroll{};
    scroll.select(7, 10, 4);
    EXPECT_EQ(scroll, (ListScroll{4, 7}));
    scroll.select(2, 10, 4);
    EXPECT_EQ(scroll, (ListScroll{2, 2}));
    scroll.select(-4, 10, 0);
    EXPECT_EQ(scroll, (ListScroll{2, 0}));  // no viewport: nothing scrolled
    scroll.select(1, 0, 4);
    EXPECT_EQ(scroll, (ListScroll{2, std::nullopt}));
}

TEST(ListScrollTest, ScrollLeavesTheSelection) {
    ListScroll scroll{2, 3};
    scroll.scroll(-5, 10, 4);
    EXPECT_EQ(scroll, (ListScroll{0, 3}));
    scroll.scroll(5, 3, 4);
    EXPECT_EQ(scroll, (ListScroll{0, 3}));
    scroll.scroll(5, 10, 4);
    EXPECT_EQ(scroll, (ListScroll{5, 3}));  // the selection may leave the viewport
    scroll.scroll(std::numeric_limits<std::int64_t>::max(), 10, 4);
    EXPECT_EQ(scroll.offset, 6);
}

}  // namespace
}  // namespace tarv::core
