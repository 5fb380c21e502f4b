#include "TarvFeatures/Diff/DiffTextSelection.hpp"

#include <gtest/gtest.h>

namespace tarv::features {
namespace {

using Columns = DiffTextSelection::Columns;

TEST(DiffTextPoint, OrdersByRowThenColumnIgnoringTheSide) {
    EXPECT_LT((DiffTextPoint{1, 1, 9}), (DiffTextPoint{2, 0, 0}));
    EXPECT_LT((DiffTextPoint{1, 1, 3}), (DiffTextPoint{1, 0, 4}));
    const DiffTextPoint left{1, 0, 3};
    const DiffTextPoint right{1, 1, 3};
    EXPECT_FALSE(left < right);
    EXPECT_FALSE(right < left);
    EXPECT_NE(left, right);
}

TEST(DiffTextSelection, StartEndAndEmptiness) {
    const DiffTextSelection backwards{{5, 0, 10}, {3, 0, 4}};
    EXPECT_EQ(backwards.start(), (DiffTextPoint{3, 0, 4}));
    EXPECT_EQ(backwards.end(), (DiffTextPoint{5, 0, 10}));
    EXPECT_FALSE(backwards.isEmpty());
    EXPECT_TRUE((DiffTextSelection{{2, 1, 4}, {2, 1, 4}}.isEmpty()));
    EXPECT_FALSE((DiffTextSelection{{2, 0, 4}, {2, 1, 4}}.isEmpty()));
}

TEST(DiffTextSelection, ColumnsPerRow) {
    const DiffTextSelection dragBack{{5, 0, 10}, {3, 0, 4}};
    const DiffTextSelection sameRow{{2, 0, 6}, {2, 0, 2}};
    const DiffTextSelection empty{{2, 0, 4}, {2, 0, 4}};
    struct Case {
        DiffTextSelection selection;
        std::int64_t row;
        std::int64_t side;
        std::optional<Columns> columns;
    };
    const Case cases[] = {
        {dragBack, 2, 0, std::nullopt},
        {dragBack, 3, 0, Columns{4, 80}},
        {dragBack, 4, 0, Columns{0, 80}},
        {dragBack, 5, 0, Columns{0, 10}},
        {dragBack, 6, 0, std::nullopt},
        {dragBack, 4, 1, std::nullopt},
        {sameRow, 2, 0, Columns{2, 6}},
        {sameRow, 1, 0, std::nullopt},
        {empty, 2, 0, std::nullopt},
        {empty, 1, 0, std::nullopt},
        {DiffTextSelection{{1, 0, 90}, {2, 0, 0}}, 1, 0, std::nullopt},  // starts past the width
        {DiffTextSelection{{1, 0, 3}, {2, 0, 0}}, 2, 0, std::nullopt},   // ends before column 0
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.selection.columns(c.row, c.side, 80), c.columns)
            << "anchor row " << c.selection.anchor.row << " head row " << c.selection.head.row << " row " << c.row
            << " side " << c.side;
    }
}

}  // namespace
}  // namespace tarv::features
