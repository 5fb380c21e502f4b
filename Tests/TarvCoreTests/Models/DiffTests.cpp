#include <gtest/gtest.h>

#include <set>
#include <unordered_set>

#include "TarvCore/Models/Diff.hpp"
#include "TarvCore/Models/DiffStats.hpp"

namespace tarv::core {
namespace {

using Kind = DiffLine::Kind;

DiffLine line(Kind kind) { return DiffLine{kind, "x", std::nullopt, std::nullopt}; }

DiffHunk hunk(std::int64_t oldStart, std::int64_t oldCount, std::int64_t newStart, std::int64_t newCount,
              std::vector<Kind> kinds) {
    DiffHunk h{"@@", oldStart, oldCount, newStart, newCount, {}};
    for (Kind k : kinds) h.lines.push_back(line(k));
    return h;
}

TEST(DiffTest, ADiffWithoutHunksHasNothingToCount) {
    for (const Diff& diff : {Diff::empty, Diff{}, Diff{true, {}}}) {
        EXPECT_EQ(diff.additions(), 0);
        EXPECT_EQ(diff.deletions(), 0);
        EXPECT_EQ(diff.lineCount(), 0);
        EXPECT_TRUE(diff.changeLines().empty());
        EXPECT_EQ(DiffStats(diff), DiffStats(0, 0, 0, {}, 1));
    }
    EXPECT_FALSE(Diff::empty.isBinary);
}

TEST(DiffTest, CountsRowsAndChangedLinesAcrossHunks) {
    const Diff diff{false,
                    {hunk(1, 3, 1, 3, {Kind::context, Kind::removed, Kind::added}),
                     hunk(10, 2, 10, 4, {Kind::context, Kind::added, Kind::added, Kind::noNewlineMarker, Kind::context})}};
    EXPECT_EQ(diff.additions(), 3);
    EXPECT_EQ(diff.deletions(), 1);
    EXPECT_EQ(diff.lineCount(), 10);
    EXPECT_EQ(diff.changeLines(), (std::vector<LineRef>{{0, 1}, {0, 2}, {1, 1}, {1, 2}}));
    EXPECT_EQ(diff.changeLinesInHunk(1), (std::vector<LineRef>{{1, 1}, {1, 2}}));
    EXPECT_TRUE(diff.changeLinesInHunk(-1).empty());
    EXPECT_TRUE(diff.changeLinesInHunk(2).empty());
    EXPECT_EQ(DiffStats(diff), DiffStats(3, 1, 10, {0, 4}, 14));
}

TEST(DiffTest, ContextOnlyHunkHasNoChangeLines) {
    const Diff diff{false, {hunk(1, 2, 1, 2, {Kind::context, Kind::context})}};
    EXPECT_TRUE(diff.changeLinesInHunk(0).empty());
}

TEST(DiffStatsTest, MaxLineNumberIsTheLargestEndOfEitherSide) {
    struct Row {
        std::int64_t oldStart, oldCount, newStart, newCount, expected;
    };
    for (const Row& r : std::vector<Row>{{0, 0, 1, 2, 3}, {1, 3, 1, 4, 5}, {7, 5, 2, 1, 12}, {0, 0, 0, 0, 1}}) {
        const Diff diff{false, {hunk(r.oldStart, r.oldCount, r.newStart, r.newCount, {})}};
        EXPECT_EQ(DiffStats(diff).maxLineNumber, r.expected) << r.oldStart << "," << r.oldCount;
    }
}

TEST(LineRefTest, OrdersByHunkThenLineAndHashes) {
    EXPECT_LT((LineRef{0, 9}), (LineRef{1, 0}));
    EXPECT_LT((LineRef{1, 0}), (LineRef{1, 1}));
    EXPECT_GE((LineRef{1, 1}), (LineRef{1, 1}));
    const std::set<LineRef> ordered = {{1, 0}, {0, 9}, {0, 1}};
    EXPECT_EQ(std::vector<LineRef>(ordered.begin(), ordered.end()), (std::vector<LineRef>{{0, 1}, {0, 9}, {1, 0}}));
    const std::unordered_set<LineRef> hashed = {{0, 1}, {1, 0}, {0, 1}};
    EXPECT_EQ(hashed.size(), 2u);
    EXPECT_NE(std::hash<LineRef>{}({0, 1}), std::hash<LineRef>{}({1, 0}));
}

TEST(DiffLineTest, TextKeepsBytesThatAreNotUtf8) {
    const DiffLine latin1{Kind::added, "caf\xE9\r", std::nullopt, 3};
    EXPECT_EQ(latin1.text, std::string("caf\xE9\r"));
    EXPECT_NE(latin1, (DiffLine{Kind::added, "caf\xEF\xBF\xBD\r", std::nullopt, 3}));
}

}  // namespace
}  // namespace tarv::core
