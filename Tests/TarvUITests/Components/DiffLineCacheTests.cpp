#include <gtest/gtest.h>

#include "TarvFeatures/Diff/DiffViewState.hpp"
#include "TarvUI/Components/DiffLineCache.hpp"

namespace tarv::ui {
namespace {

using core::Diff;
using core::DiffHunk;
using core::DiffLine;
using core::LineRef;

Diff diffOf(core::DiffLines lines) {
    DiffHunk hunk;
    hunk.header = "@@ -1,2 +1,2 @@";
    hunk.lines = std::move(lines);
    Diff diff;
    diff.hunks.push_back(std::move(hunk));
    return diff;
}

Diff pairDiff(std::string oldText, std::string newText) {
    return diffOf({DiffLine{DiffLine::Kind::removed, std::move(oldText), 1, std::nullopt},
                   DiffLine{DiffLine::Kind::added, std::move(newText), std::nullopt, 1}});
}

TEST(DiffLineCache, SecondLookupInAFrameOrTheNextIsAHit) {
    DiffLineCache cache;
    const Diff diff = pairDiff("let a = 1", "let b = 1");
    cache.beginFrame();
    EXPECT_EQ(cache.line(diff, LineRef{0, 0}).text(), "let a = 1");
    cache.line(diff, LineRef{0, 0});
    cache.beginFrame();
    cache.line(diff, LineRef{0, 0});
    EXPECT_EQ(cache.builds(), 1u);
    EXPECT_EQ(cache.entryCount(), 1u);
}

TEST(DiffLineCache, ALineChangedInPlaceIsRebuilt) {
    DiffLineCache cache;
    Diff diff = pairDiff("abc", "abd");
    cache.beginFrame();
    EXPECT_EQ(cache.line(diff, LineRef{0, 0}).text(), "abc");
    // Same diff object, same line, same size: a stale entry would still say "abc".
    diff.hunks[0].lines.set(0, DiffLine{DiffLine::Kind::removed, "xyz", 1, std::nullopt});
    cache.beginFrame();
    EXPECT_EQ(cache.line(diff, LineRef{0, 0}).text(), "xyz");
    // A changed kind changes the display text of the same bytes.
    diff.hunks[0].lines.set(0, DiffLine{DiffLine::Kind::noNewlineMarker, "xyz", std::nullopt, std::nullopt});
    cache.beginFrame();
    EXPECT_EQ(cache.line(diff, LineRef{0, 0}).text(), "\\ xyz");
    EXPECT_EQ(cache.builds(), 3u);
}

// A pane's revision stands for its lines: under the same revision an entry
// is used without comparing the line again; a new diff put in the same
// place gets a new revision and is never drawn from the old entries.
TEST(DiffLineCache, AVouchedRevisionNamesThePanesLines) {
    DiffLineCache cache;
    features::DiffViewState pane;
    pane.setDiff(pairDiff("abc", "abd"));
    const Diff* place = &*pane.diff();
    const auto frame = [&] {
        cache.beginFrame();
        cache.vouch(*pane.diff(), pane.revision());
        return cache.line(*pane.diff(), LineRef{0, 0}).text();
    };
    EXPECT_EQ(frame(), "abc");
    EXPECT_EQ(frame(), "abc");
    EXPECT_EQ(cache.builds(), 1u);

    pane.setDiff(pairDiff("xyz", "abd"));
    ASSERT_EQ(&*pane.diff(), place);  // the same address, other bytes
    EXPECT_EQ(frame(), "xyz");
    EXPECT_EQ(cache.builds(), 2u);
    // Equal lines under a new revision: compared once, not rebuilt.
    pane.setDiff(pairDiff("xyz", "abd"));
    EXPECT_EQ(frame(), "xyz");
    EXPECT_EQ(cache.builds(), 2u);
}

TEST(DiffLineCache, TwoDiffsKeepTheirOwnEntries) {
    DiffLineCache cache;
    const Diff changes = pairDiff("one", "two");
    const Diff history = pairDiff("three", "four");
    cache.beginFrame();
    EXPECT_EQ(cache.line(changes, LineRef{0, 0}).text(), "one");
    EXPECT_EQ(cache.line(history, LineRef{0, 0}).text(), "three");
    EXPECT_EQ(cache.line(changes, LineRef{0, 0}).text(), "one");
    EXPECT_EQ(cache.builds(), 2u);
}

TEST(DiffLineCache, TokensFollowTheLanguage) {
    DiffLineCache cache;
    const Diff diff = diffOf({DiffLine{DiffLine::Kind::context, "return 1", 1, 1}});
    cache.beginFrame();
    const auto c = cache.tokens(diff, LineRef{0, 0}, core::SyntaxLanguage::cLike);
    ASSERT_FALSE(c.empty());
    EXPECT_EQ(c.front(), (core::SyntaxToken{0, 6, core::SyntaxToken::Kind::keyword}));
    const auto json = cache.tokens(diff, LineRef{0, 0}, core::SyntaxLanguage::json);
    EXPECT_NE(json, c);
}

TEST(DiffLineCache, EmphasisIsComputedOnceForBothLinesOfAPair) {
    DiffLineCache cache;
    const Diff diff = pairDiff("let a = 1", "let b = 1");
    cache.beginFrame();
    const auto removed = cache.emphasis(diff, LineRef{0, 0}, LineRef{0, 1});
    const auto added = cache.emphasis(diff, LineRef{0, 1}, LineRef{0, 0});
    EXPECT_EQ(removed, (std::vector<core::WordDiff::Range>{{4, 5}}));
    EXPECT_EQ(added, (std::vector<core::WordDiff::Range>{{4, 5}}));
    EXPECT_EQ(cache.emphasis(diff, LineRef{0, 0}, LineRef{0, 5}), std::vector<core::WordDiff::Range>{});
}

TEST(DiffLineCache, EmphasisIsRecomputedWhenThePartnerChanges) {
    DiffLineCache cache;
    Diff diff = pairDiff("let a = 1", "let b = 1");
    cache.beginFrame();
    EXPECT_EQ(cache.emphasis(diff, LineRef{0, 0}, LineRef{0, 1}), (std::vector<core::WordDiff::Range>{{4, 5}}));
    diff.hunks[0].lines.set(1, DiffLine{DiffLine::Kind::added, "let a = 22", std::nullopt, 1});
    cache.beginFrame();
    EXPECT_EQ(cache.emphasis(diff, LineRef{0, 0}, LineRef{0, 1}), (std::vector<core::WordDiff::Range>{{8, 9}}));
}

TEST(DiffLineCache, StaysWithinItsLimitsButKeepsWhatTheLastFrameUsed) {
    DiffLineCache cache(DiffLineCache::Limits{8, std::size_t{1} << 30});
    core::DiffLines lines;
    for (int i = 0; i < 100; ++i) lines.push_back(DiffLine{DiffLine::Kind::context, "line " + std::to_string(i), i + 1, i + 1});
    const Diff diff = diffOf(std::move(lines));
    // Scroll a window of 5 rows down one row per frame.
    for (std::int64_t top = 0; top + 5 <= 100; ++top) {
        cache.beginFrame();
        EXPECT_LE(cache.entryCount(), 8u + 5u);
        for (std::int64_t r = top; r < top + 5; ++r) cache.line(diff, LineRef{0, r});
    }
    // Each frame built only the row that came into view.
    EXPECT_EQ(cache.builds(), 100u);

    // A byte budget smaller than one frame keeps that frame's lines.
    DiffLineCache small(DiffLineCache::Limits{1000, 1});
    small.beginFrame();
    for (std::int64_t r = 0; r < 5; ++r) small.line(diff, LineRef{0, r});
    small.beginFrame();
    EXPECT_EQ(small.entryCount(), 5u);
    small.beginFrame();
    EXPECT_EQ(small.entryCount(), 0u);
    EXPECT_EQ(small.byteCount(), 0u);
}

}  // namespace
}  // namespace tarv::ui
