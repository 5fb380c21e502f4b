#include "TarvFeatures/Diff/DiffRows.hpp"

#include <gtest/gtest.h>

#include <limits>

#include "DiffFixtures.hpp"

namespace tarv::features {
namespace {

using testing::diffWithLines;
using testing::LineKind;
using Kind = DiffRows::Kind;

TEST(DiffRows, UnifiedLayoutOfTwoHunks) {
    const core::Diff diff = diffWithLines({3, 2});
    const std::vector<std::optional<Kind>> expected = {
        Kind::hunkHeader(0), Kind::line({0, 0}), Kind::line({0, 1}), Kind::line({0, 2}),
        Kind::hunkHeader(1), Kind::line({1, 0}), Kind::line({1, 1}), std::nullopt,
    };
    for (std::size_t row = 0; row < expected.size(); ++row) {
        EXPECT_EQ(DiffRows::kind(static_cast<std::int64_t>(row), diff), expected[row]) << "row " << row;
    }
    EXPECT_EQ(DiffRows::hunkStarts(diff), (std::vector<std::int64_t>{0, 4}));
    EXPECT_EQ(DiffRows::row({1, 1}, diff), 6);
}

// A row before the first header is no row: it must not come out as a line
// with a negative index (which line staging would then try to toggle).
TEST(DiffRows, NegativeRowsAreNoRows) {
    const core::Diff diff = diffWithLines({3, 2});
    for (std::int64_t row : {std::int64_t{-1}, std::int64_t{-2}, std::int64_t{-4},
                             std::numeric_limits<std::int64_t>::min()}) {
        EXPECT_EQ(DiffRows::kind(row, diff), std::nullopt) << row;
    }
    EXPECT_EQ(DiffRows::kind(0, core::Diff{}), std::nullopt);
    EXPECT_TRUE(DiffRows::hunkStarts(core::Diff{}).empty());
}

TEST(DiffRows, RowOfAHunkOutsideTheDiffCountsAtMostAllHunks) {
    const core::Diff diff = diffWithLines({3, 2});
    EXPECT_EQ(DiffRows::row({-1, 0}, diff), 1);
    EXPECT_EQ(DiffRows::row({2, 0}, diff), 8);
    EXPECT_EQ(DiffRows::row({9, 0}, diff), 8);
}

// Over many generated diffs, every row is the header at its hunk start or a
// line whose row is that row again.
TEST(DiffRows, RoundTripOverGeneratedDiffs) {
    std::uint64_t seed = 12345;
    const auto next = [&seed](std::uint64_t bound) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return (seed >> 33) % bound;
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<std::vector<LineKind>> hunks(next(6));
        for (auto& kinds : hunks) {
            kinds.resize(next(9));
            for (auto& kind : kinds) kind = core::DiffLine::allKinds[next(4)];
        }
        const core::Diff diff = testing::diffOf(hunks);
        const std::vector<std::int64_t> starts = DiffRows::hunkStarts(diff);
        const std::int64_t rows = diff.lineCount();
        for (std::int64_t row = 0; row < rows; ++row) {
            const auto kind = DiffRows::kind(row, diff);
            ASSERT_TRUE(kind.has_value()) << "round " << round << " row " << row;
            if (const auto* line = std::get_if<Kind::Line>(&kind->value)) {
                EXPECT_GE(line->ref.line, 0);
                EXPECT_EQ(DiffRows::row(line->ref, diff), row) << "round " << round;
            } else {
                const auto hunk = std::get<Kind::HunkHeader>(kind->value).hunk;
                EXPECT_EQ(starts.at(static_cast<std::size_t>(hunk)), row) << "round " << round;
            }
        }
        EXPECT_EQ(DiffRows::kind(rows, diff), std::nullopt);
        EXPECT_EQ(DiffRows::kind(-1, diff), std::nullopt);
    }
}

}  // namespace
}  // namespace tarv::features
