#include "TarvFeatures/Diff/DiffViewState.hpp"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <utility>

#include "DiffFixtures.hpp"

namespace tarv::features {
namespace {

using testing::diffWithLines;
using testing::threeHunks;

DiffViewState loaded(const core::Diff& diff, bool split = false) {
    DiffViewState view(split);
    view.setDiff(diff);
    return view;
}

const DiffTextSelection someSelection{{1, 0, 2}, {3, 0, 4}};

// Reading the shown file again keeps its diff on screen, except a huge one,
// which goes at once so that the old and the new copy are never alive
// together; the reader's place stays either way.
TEST(DiffViewState, ReloadKeepsTheDiffUnlessItIsHuge) {
    const std::int64_t limit = DiffViewState::longestKeptWhileReloading;
    struct Case {
        std::int64_t lines;
        bool split;
        bool kept;
    };
    // One hunk: its header row and its lines.
    const Case cases[] = {{3, false, true}, {limit - 1, false, true}, {limit, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        DiffViewState view = loaded(diffWithLines({c.lines}), c.split);
        view.offset = 2;
        view.cursor = 3;
        view.textSelection = someSelection;
        const auto revision = view.revision();
        view.reload();
        EXPECT_TRUE(view.isLoading);
        EXPECT_EQ(view.diff().has_value(), c.kept);
        EXPECT_EQ(view.stats().has_value(), c.kept);
        EXPECT_EQ(view.split().has_value(), c.kept && c.split);
        EXPECT_EQ(view.textSelection.has_value(), c.kept);
        EXPECT_EQ(view.revision() == revision, c.kept);
        EXPECT_EQ((std::array{view.offset, view.cursor}), (std::array<std::int64_t, 2>{2, 3}));
    }
}

TEST(DiffViewState, FixtureLayouts) {
    const DiffViewState unified = loaded(threeHunks());
    EXPECT_EQ(unified.rowCount(), 14);
    EXPECT_EQ(unified.hunkStarts(), (std::vector<std::int64_t>{0, 7, 10}));
    EXPECT_FALSE(unified.split().has_value());
    const DiffViewState split = loaded(threeHunks(), true);
    EXPECT_EQ(split.rowCount(), 11);
    EXPECT_EQ(split.hunkStarts(), (std::vector<std::int64_t>{0, 5, 7}));
}

TEST(DiffViewState, SettingTheDiffRebuildsDerivedRowsAndClearsTheSelection) {
    DiffViewState view(false);
    view.offset = 3;
    view.cursor = 4;
    view.horizontalOffset = 2;
    view.textSelection = someSelection;
    view.setDiff(threeHunks());
    EXPECT_EQ(view.stats(), core::DiffStats(threeHunks()));
    EXPECT_EQ(view.wordPairs(), core::WordPairs(threeHunks()));
    EXPECT_FALSE(view.wordPairs().empty());
    EXPECT_FALSE(view.split().has_value());
    EXPECT_FALSE(view.textSelection.has_value());
    EXPECT_EQ((std::array{view.offset, view.cursor, view.horizontalOffset}), (std::array<std::int64_t, 3>{3, 4, 2}));

    view.setSplit(true);
    view.textSelection = someSelection;
    view.setDiff(diffWithLines({2}));
    EXPECT_EQ(view.split(), core::SplitDiff(diffWithLines({2})));
    EXPECT_FALSE(view.textSelection.has_value());

    view.setDiff(std::nullopt);
    EXPECT_FALSE(view.stats() || view.split());
    EXPECT_TRUE(view.wordPairs().empty());
    EXPECT_EQ(view.rowCount(), 0);
    EXPECT_TRUE(view.hunkStarts().empty());
}

TEST(DiffViewState, BeginClearsContentAndKeepsTheMode) {
    DiffViewState view = loaded(threeHunks(), true);
    view.error = "failed";
    view.offset = 4;
    view.cursor = 5;
    view.horizontalOffset = 6;
    view.textSelection = someSelection;
    view.begin("src/a.txt");

    DiffViewState expected(true);
    expected.path = "src/a.txt";
    expected.isLoading = true;
    EXPECT_EQ(view, expected);
}

// The offset and the cursor land on the header rows of the hunks they were
// in, in the new layout.
// Every diff set, and every start of a load, gets a revision no other diff
// had; a copy keeps its diff's revision; equality ignores revisions.
TEST(DiffViewState, RevisionsNameTheContentAndAreNotPartOfTheValue) {
    DiffViewState a = loaded(threeHunks());
    DiffViewState b = loaded(threeHunks());
    EXPECT_NE(a.revision(), 0u);
    EXPECT_NE(a.revision(), b.revision());
    EXPECT_TRUE(a == b);
    const DiffViewState copy = a;
    EXPECT_EQ(copy.revision(), a.revision());
    const std::uint64_t before = a.revision();
    a.setDiff(threeHunks());
    EXPECT_NE(a.revision(), before);
    const std::uint64_t set = a.revision();
    a.begin("other.txt");
    EXPECT_NE(a.revision(), set);
    EXPECT_NE(a.revision(), before);
}

TEST(DiffViewState, SetSplitReanchorsToHunkHeaders) {
    struct Case {
        bool from;
        std::int64_t offset;
        std::int64_t cursor;
        std::int64_t newOffset;
        std::int64_t newCursor;
    };
    const Case cases[] = {
        {false, 11, 12, 7, 7},  // both in the third hunk
        {false, 8, 12, 5, 7},   // offset in the second hunk, cursor in the third
        {false, 0, 6, 0, 0},    // first hunk
        {false, 7, 9, 5, 5},    // on the second hunk's header and its last line
        {true, 6, 10, 7, 10},   // back to unified: second and third hunk
        {true, 0, 4, 0, 0},
    };
    for (const Case& c : cases) {
        DiffViewState view = loaded(threeHunks(), c.from);
        view.offset = c.offset;
        view.cursor = c.cursor;
        view.textSelection = someSelection;
        view.setSplit(!c.from);
        EXPECT_EQ(view.isSplit(), !c.from);
        EXPECT_EQ(view.offset, c.newOffset) << "offset " << c.offset;
        EXPECT_EQ(view.cursor, c.newCursor) << "cursor " << c.cursor;
        EXPECT_FALSE(view.textSelection.has_value());
        EXPECT_EQ(view.split().has_value(), !c.from);
    }
}

TEST(DiffViewState, SetSplitToTheSameModeChangesNothing) {
    DiffViewState view = loaded(threeHunks());
    view.offset = 11;
    view.cursor = 12;
    view.textSelection = someSelection;
    const DiffViewState before = view;
    view.setSplit(false);
    EXPECT_EQ(view, before);
}

TEST(DiffViewState, SetSplitWithoutADiffPutsBothOnRowZero) {
    DiffViewState view(false);
    view.offset = 3;
    view.cursor = 2;
    view.setSplit(true);
    EXPECT_EQ((std::pair{view.offset, view.cursor}), (std::pair<std::int64_t, std::int64_t>{0, 0}));
    EXPECT_FALSE(view.split().has_value());
}

TEST(DiffViewState, ScrollClampsWithinTheRows) {
    constexpr auto max = std::numeric_limits<std::int64_t>::max();
    constexpr auto min = std::numeric_limits<std::int64_t>::min();
    struct Case {
        std::int64_t rows;  // one hunk: rows - 1 lines
        std::int64_t start;
        std::int64_t delta;
        std::int64_t viewport;
        std::int64_t offset;
    };
    const Case cases[] = {
        {25, 0, 1000, 10, 15}, {5, 0, 1000, 10, 0}, {25, 0, 1000, 0, 24}, {25, 0, 1000, -3, 24},
        {25, 10, -4, 10, 6},   {25, 3, -9, 10, 0},  {25, 20, 0, 10, 15},  {25, 5, max, 10, 15},
        {25, 5, min, 10, 0},
    };
    for (const Case& c : cases) {
        DiffViewState view = loaded(diffWithLines({c.rows - 1}));
        view.offset = c.start;
        view.scroll(c.delta, c.viewport);
        EXPECT_EQ(view.offset, c.offset) << c.rows << " rows from " << c.start << " by " << c.delta << " in "
                                         << c.viewport;
    }
    DiffViewState empty(false);
    empty.scroll(5, 10);
    EXPECT_EQ(empty.offset, 0);
}

TEST(DiffViewState, HorizontalScrollStopsAtZeroOnly) {
    DiffViewState view(false);
    view.scrollHorizontally(7);
    view.scrollHorizontally(-3);
    EXPECT_EQ(view.horizontalOffset, 4);
    view.scrollHorizontally(-10);
    EXPECT_EQ(view.horizontalOffset, 0);
    view.scrollHorizontally(std::numeric_limits<std::int64_t>::max());
    view.scrollHorizontally(1);
    EXPECT_EQ(view.horizontalOffset, std::numeric_limits<std::int64_t>::max());
}

TEST(DiffViewState, CursorMovesWithinTheRowsAndStaysVisible) {
    struct Case {
        std::int64_t cursor;
        std::int64_t offset;
        std::int64_t delta;
        std::int64_t viewport;
        std::int64_t newCursor;
        std::int64_t newOffset;
    };
    // 25 rows.
    const Case cases[] = {
        {0, 0, 1, 10, 1, 0},    {9, 0, 1, 10, 10, 1},    {5, 5, -1, 10, 4, 4},   {3, 0, 100, 10, 24, 15},
        {3, 0, -100, 10, 0, 0}, {12, 0, 0, 10, 12, 3},   {0, 0, 30, 0, 24, 24},  {10, 10, 2, -5, 12, 12},
        {20, 2, std::numeric_limits<std::int64_t>::max(), 10, 24, 15},
    };
    for (const Case& c : cases) {
        DiffViewState view = loaded(diffWithLines({24}));
        view.cursor = c.cursor;
        view.offset = c.offset;
        view.moveCursor(c.delta, c.viewport);
        EXPECT_EQ(view.cursor, c.newCursor) << "from " << c.cursor << " by " << c.delta;
        EXPECT_EQ(view.offset, c.newOffset) << "from " << c.cursor << " by " << c.delta;
    }
}

TEST(DiffViewState, CursorToARowIsClamped) {
    DiffViewState view = loaded(diffWithLines({24}));
    view.moveCursorTo(-7, 10);
    EXPECT_EQ((std::pair{view.cursor, view.offset}), (std::pair<std::int64_t, std::int64_t>{0, 0}));
    view.moveCursorTo(99, 10);
    EXPECT_EQ((std::pair{view.cursor, view.offset}), (std::pair<std::int64_t, std::int64_t>{24, 15}));
    view.moveCursorTo(14, 10);
    EXPECT_EQ((std::pair{view.cursor, view.offset}), (std::pair<std::int64_t, std::int64_t>{14, 14}));
}

TEST(DiffViewState, CursorDoesNothingWithoutRows) {
    DiffViewState none(false);
    none.cursor = 3;
    none.moveCursor(1, 10);
    none.moveCursorTo(5, 10);
    EXPECT_EQ(none.cursor, 3);
    DiffViewState emptyDiff = loaded(core::Diff{});
    emptyDiff.moveCursor(1, 10);
    EXPECT_EQ(emptyDiff.cursor, 0);
}

TEST(DiffViewState, UnifiedTargetsAndLines) {
    const DiffViewState view = loaded(diffWithLines({3, 2}));
    EXPECT_EQ(view.target(0), DiffRowTarget::hunkHeader(0));
    EXPECT_EQ(view.target(3), DiffRowTarget::lines({{0, 2}}));
    EXPECT_EQ(view.target(4), DiffRowTarget::hunkHeader(1));
    EXPECT_EQ(view.target(6), DiffRowTarget::lines({{1, 1}}));
    EXPECT_EQ(view.target(7), std::nullopt);
    EXPECT_EQ(view.target(-1), std::nullopt);
    EXPECT_EQ(view.lineRef(6, 1), (core::LineRef{1, 1}));
    EXPECT_EQ(view.lineRef(4, 0), std::nullopt);
    EXPECT_EQ(DiffViewState(false).target(0), std::nullopt);
}

TEST(DiffViewState, SideBySideTargetsAndLines) {
    // Split rows: 0 header, 1 context (0,0) on both sides, 2 (0,1)|(0,3),
    // 3 (0,2)|(0,4), 4 context (0,5); 5 header, 6 (1,0)|(1,1); 7 header,
    // 8 (2,0) both, 9 empty|(2,1), 10 (2,2) both.
    const DiffViewState view = loaded(threeHunks(), true);
    EXPECT_EQ(view.target(0), DiffRowTarget::hunkHeader(0));
    EXPECT_EQ(view.target(1), DiffRowTarget::lines({{0, 0}}));
    EXPECT_EQ(view.target(2), DiffRowTarget::lines({{0, 1}, {0, 3}}));
    EXPECT_EQ(view.target(9), DiffRowTarget::lines({{2, 1}}));
    EXPECT_EQ(view.target(11), std::nullopt);
    EXPECT_EQ(view.target(-1), std::nullopt);
    EXPECT_EQ(view.lineRef(2, 0), (core::LineRef{0, 1}));
    EXPECT_EQ(view.lineRef(2, 1), (core::LineRef{0, 3}));
    EXPECT_EQ(view.lineRef(9, 0), std::nullopt);
    EXPECT_EQ(view.lineRef(9, 1), (core::LineRef{2, 1}));
    EXPECT_EQ(view.lineRef(7, 0), std::nullopt);
}

}  // namespace
}  // namespace tarv::features
