#include <gtest/gtest.h>

#include "TarvUI/Components/DiffGeometry.hpp"

namespace tarv::ui {
namespace {

using terminal::Rect;

TEST(DiffGeometry, UnifiedGutterTable) {
    struct Case {
        Rect pane;
        std::int64_t rows;
        std::int64_t maxLineNumber;
        bool selection;
        // W, P, G, C, T
        std::int64_t w, p, g, c, t;
    };
    const Case cases[] = {
        {Rect(0, 0, 80, 24), 10, 9, false, 1, 1, 7, 80, 73},
        {Rect(0, 0, 80, 24), 10, 9, true, 1, 3, 9, 80, 71},
        {Rect(0, 0, 80, 24), 24, 10, false, 2, 1, 9, 80, 71},      // rows fit exactly: no scroll bar
        {Rect(0, 0, 80, 24), 25, 10, false, 2, 1, 9, 79, 70},      // one row more: the bar takes a column
        {Rect(5, 2, 100, 10), 500, 12345, true, 5, 3, 17, 99, 82},
        {Rect(0, 0, 10, 5), 100, 999, true, 3, 3, 13, 9, 0},       // text width never negative
        {Rect(0, 0, 80, 24), 0, 1, false, 1, 1, 7, 80, 73},
    };
    for (const Case& c : cases) {
        const DiffGeometry::Unified g = DiffGeometry::unified(c.pane, c.rows, c.maxLineNumber, c.selection);
        EXPECT_EQ((std::vector<std::int64_t>{g.numberWidth, g.prefix, g.gutter, g.content, g.text}),
                  (std::vector<std::int64_t>{c.w, c.p, c.g, c.c, c.t}))
            << c.pane.size.width << "x" << c.pane.size.height << " rows " << c.rows << " max " << c.maxLineNumber;
    }
    // Columns of a row with W = 3 and check boxes: numbers at 3 and 7, marker at 11, text at 13.
    const auto g = DiffGeometry::unified(Rect(0, 0, 80, 24), 1, 120, true);
    EXPECT_EQ(g.oldNumberColumn(), 3);
    EXPECT_EQ(g.newNumberColumn(), 7);
    EXPECT_EQ(g.markerColumn(), 11);
    EXPECT_EQ(g.gutter, 13);
}

TEST(DiffGeometry, SplitHalvesForEvenAndOddWidths) {
    struct Case {
        Rect pane;
        std::int64_t rows;
        // content, left x/width, divider, right x/width
        std::int64_t c, lx, lw, divider, rx, rw;
    };
    const Case cases[] = {
        {Rect(0, 0, 80, 24), 10, 80, 0, 39, 39, 40, 40},    // even: the right half is one wider
        {Rect(0, 0, 81, 24), 10, 81, 0, 40, 40, 41, 40},    // odd: equal halves
        {Rect(0, 0, 81, 24), 30, 80, 0, 39, 39, 40, 40},    // odd pane, scroll bar: even content
        {Rect(10, 3, 120, 40), 10, 120, 10, 59, 69, 70, 60},
        {Rect(0, 0, 5, 3), 2, 5, 0, 2, 2, 3, 2},
        {Rect(0, 0, 1, 3), 2, 1, 0, 0, 0, 1, 0},
    };
    for (const Case& c : cases) {
        const DiffGeometry::Split g = DiffGeometry::split(c.pane, c.rows, 99, false);
        EXPECT_EQ(g.content, c.c) << c.pane.size.width;
        EXPECT_EQ(g.left.area, Rect(c.lx, c.pane.minY(), c.lw, c.pane.size.height)) << c.pane.size.width;
        EXPECT_EQ(g.divider, c.divider) << c.pane.size.width;
        EXPECT_EQ(g.right.area, Rect(c.rx, c.pane.minY(), c.rw, c.pane.size.height)) << c.pane.size.width;
    }
}

TEST(DiffGeometry, SplitSideGutterIsCutToANarrowHalf) {
    struct Case {
        std::int64_t paneWidth;
        bool selection;
        std::int64_t maxLineNumber;
        // left gutter, left text, right gutter, right text
        std::int64_t lg, lt, rg, rt;
    };
    const Case cases[] = {
        {80, false, 99, 6, 33, 6, 34},     // P + W + 3 = 1 + 2 + 3
        {80, true, 99, 8, 31, 8, 32},      // P = 3
        {13, true, 99, 6, 0, 6, 0},        // halves of 6: gutter cut to the half, no text
        {19, true, 9999, 9, 0, 9, 0},      // halves of 9: exactly the gutter
        {21, true, 9999, 10, 0, 10, 0},    // 10 < P + W + 3 = 10? equal: no text
        {23, true, 9999, 10, 1, 10, 1},
    };
    for (const Case& c : cases) {
        const auto g = DiffGeometry::split(Rect(0, 0, c.paneWidth, 5), 1, c.maxLineNumber, c.selection);
        EXPECT_EQ((std::vector<std::int64_t>{g.left.gutter, g.left.text, g.right.gutter, g.right.text}),
                  (std::vector<std::int64_t>{c.lg, c.lt, c.rg, c.rt}))
            << c.paneWidth;
    }
}

TEST(DiffGeometry, DigitsOfLineNumbers) {
    const std::pair<std::int64_t, std::int64_t> cases[] = {{0, 1}, {1, 1}, {9, 1}, {10, 2}, {99, 2}, {100, 3},
                                                          {123456, 6}, {-5, 1}};
    for (const auto& [n, d] : cases) EXPECT_EQ(DiffGeometry::digits(n), d) << n;
}

}  // namespace
}  // namespace tarv::ui
