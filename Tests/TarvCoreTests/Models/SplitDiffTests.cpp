#include "TarvCore/Models/SplitDiff.hpp"
#include "TarvCore/Models/WordPairs.hpp"

#include <gtest/gtest.h>

using namespace tarv::core;
using Kind = DiffLine::Kind;
using Row = SplitDiff::Row;

namespace {

DiffHunk hunk(const std::vector<Kind>& kinds) {
    DiffHunk h;
    h.header = "@@ -1 +1 @@";
    for (Kind k : kinds) h.lines.push_back(DiffLine{k, "x", std::nullopt, std::nullopt});
    return h;
}

LineRef r(std::int64_t hunk, std::int64_t line) { return LineRef{hunk, line}; }

std::vector<Row> rowsOf(const SplitDiff& split) {
    std::vector<Row> rows;
    for (std::int64_t i = 0; i < split.rowCount(); ++i) rows.push_back(split.row(i));
    return rows;
}

}  // namespace

TEST(SplitDiff, EmptyDiff) {
    const SplitDiff split(Diff{});
    EXPECT_EQ(split.rowCount(), 0);
    EXPECT_TRUE(split.hunkStarts.empty());
    EXPECT_TRUE(WordPairs(Diff{}).empty());
}

TEST(SplitDiff, PairsRemovedRunsWithTheAddedRunsThatFollow) {
    struct Case {
        std::vector<std::vector<Kind>> hunks;
        std::vector<Row> rows;
        std::vector<std::int64_t> starts;
        std::map<LineRef, LineRef> pairs;
    };
    const std::vector<Case> cases = {
        {{{Kind::context, Kind::removed, Kind::removed, Kind::added, Kind::context}},
         {Row::header(0), Row::pair(r(0, 0), r(0, 0)), Row::pair(r(0, 1), r(0, 3)), Row::pair(r(0, 2), std::nullopt),
          Row::pair(r(0, 4), r(0, 4))},
         {0},
         {{r(0, 1), r(0, 3)}, {r(0, 3), r(0, 1)}}},
        {{{Kind::removed, Kind::added, Kind::removed, Kind::added}},
         {Row::header(0), Row::pair(r(0, 0), r(0, 1)), Row::pair(r(0, 2), r(0, 3))},
         {0},
         {{r(0, 0), r(0, 1)}, {r(0, 1), r(0, 0)}, {r(0, 2), r(0, 3)}, {r(0, 3), r(0, 2)}}},
        {{{Kind::added, Kind::added}},
         {Row::header(0), Row::pair(std::nullopt, r(0, 0)), Row::pair(std::nullopt, r(0, 1))},
         {0},
         {}},
        {{{Kind::removed, Kind::noNewlineMarker, Kind::added, Kind::noNewlineMarker}},
         {Row::header(0), Row::pair(r(0, 0), r(0, 2)), Row::pair(r(0, 1), r(0, 3))},
         {0},
         {{r(0, 0), r(0, 2)}, {r(0, 2), r(0, 0)}, {r(0, 1), r(0, 3)}, {r(0, 3), r(0, 1)}}},
        {{{Kind::noNewlineMarker, Kind::context, Kind::noNewlineMarker}},
         {Row::header(0), Row::pair(r(0, 0), r(0, 0)), Row::pair(r(0, 1), r(0, 1)), Row::pair(r(0, 2), r(0, 2))},
         {0},
         {}},
        {{{Kind::context, Kind::removed, Kind::removed, Kind::removed, Kind::added, Kind::context, Kind::added,
           Kind::added, Kind::removed}},
         {Row::header(0), Row::pair(r(0, 0), r(0, 0)), Row::pair(r(0, 1), r(0, 4)), Row::pair(r(0, 2), std::nullopt),
          Row::pair(r(0, 3), std::nullopt), Row::pair(r(0, 5), r(0, 5)), Row::pair(std::nullopt, r(0, 6)),
          Row::pair(std::nullopt, r(0, 7)), Row::pair(r(0, 8), std::nullopt)},
         {0},
         {{r(0, 1), r(0, 4)}, {r(0, 4), r(0, 1)}}},
        {{{Kind::context, Kind::context}, {Kind::context, Kind::context, Kind::context}},
         {Row::header(0), Row::pair(r(0, 0), r(0, 0)), Row::pair(r(0, 1), r(0, 1)), Row::header(1),
          Row::pair(r(1, 0), r(1, 0)), Row::pair(r(1, 1), r(1, 1)), Row::pair(r(1, 2), r(1, 2))},
         {0, 3},
         {}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        Diff diff;
        for (const auto& kinds : cases[i].hunks) diff.hunks.push_back(hunk(kinds));
        const SplitDiff split(diff);
        EXPECT_EQ(rowsOf(split), cases[i].rows) << "case " << i;
        EXPECT_EQ(split.hunkStarts, cases[i].starts) << "case " << i;
        const WordPairs pairs(diff);
        EXPECT_EQ(pairs.all(), cases[i].pairs) << "case " << i;
        // Each line's partner is the one the pairs name; every other line of
        // the diff has none.
        for (std::int64_t h = 0; h < static_cast<std::int64_t>(diff.hunks.size()); ++h) {
            for (std::int64_t l = 0; l <= static_cast<std::int64_t>(diff.hunks[h].lines.size()); ++l) {
                const auto found = cases[i].pairs.find(r(h, l));
                EXPECT_EQ(pairs.partner(r(h, l)),
                          found == cases[i].pairs.end() ? std::nullopt : std::optional(found->second))
                    << "case " << i << " line " << h << ":" << l;
            }
        }
        EXPECT_LE(split.rowCount(), diff.lineCount());
    }
}
