#include <gtest/gtest.h>

#include "TarvUI/Components/DiffTextCopy.hpp"

namespace tarv::ui {
namespace {

using core::Diff;
using core::DiffHunk;
using core::DiffLine;
using features::DiffTextPoint;
using features::DiffTextSelection;
using features::DiffViewState;

DiffLine context(std::string_view text, std::int64_t n) { return DiffLine{DiffLine::Kind::context, text, n, n}; }
DiffLine removed(std::string_view text, std::int64_t n) {
    return DiffLine{DiffLine::Kind::removed, text, n, std::nullopt};
}
DiffLine added(std::string_view text, std::int64_t n) { return DiffLine{DiffLine::Kind::added, text, std::nullopt, n}; }
DiffLine noNewline() { return DiffLine{DiffLine::Kind::noNewlineMarker, "No newline at end of file", std::nullopt, std::nullopt}; }

// Unified rows: 0 header; 1 "alpha"; 2 "beta" (removed); 3 "gamma" (added);
// 4 no-newline marker; 5 header; 6 "\tdelta\x1b"; 7 "epsilon".
// Side by side: 0 header; 1 alpha|alpha; 2 beta|gamma; 3 marker|-; 4 header;
// 5 delta|delta; 6 epsilon|epsilon.
Diff sample() {
    Diff diff;
    diff.hunks.push_back(DiffHunk{"@@ -1,3 +1,3 @@", 1, 3, 1, 3, {context("alpha", 1), removed("beta", 2), added("gamma", 2), noNewline()}});
    diff.hunks.push_back(DiffHunk{"@@ -10,2 +10,2 @@", 10, 2, 10, 2, {context("\tdelta\x1b", 10), context("epsilon", 11)}});
    return diff;
}

DiffViewState view(bool split, DiffTextPoint anchor, DiffTextPoint head) {
    DiffViewState v(split);
    v.setDiff(sample());
    v.textSelection = DiffTextSelection{anchor, head};
    return v;
}

TEST(DiffTextCopy, Table) {
    struct Case {
        const char* name;
        bool split;
        DiffTextPoint anchor;
        DiffTextPoint head;
        std::optional<std::string> text;
    };
    const Case cases[] = {
        {"part of one line", false, {1, 0, 1}, {1, 0, 4}, "lph"},
        {"dragged backwards", false, {3, 0, 3}, {1, 0, 2}, "pha\nbeta\ngam"},
        {"across a hunk header and a marker: no empty lines", false, {3, 0, 0}, {7, 0, 3}, "gamma\n    delta\xC2\xB7\neps"},
        {"tabs as spaces, controls as dots", false, {6, 0, 2}, {6, 0, 10}, "  delta\xC2\xB7"},
        {"only headers and markers", false, {4, 0, 0}, {5, 0, 30}, std::nullopt},
        {"empty selection", false, {1, 0, 2}, {1, 0, 2}, std::nullopt},
        {"beyond the end of a line", false, {1, 0, 9}, {1, 0, 12}, std::nullopt},
        {"left side of a split diff", true, {1, 0, 0}, {2, 0, 99}, "alpha\nbeta"},
        {"right side, even where the drag ends on the left", true, {2, 1, 1}, {5, 0, 3}, "amma\n   "},
        {"rows past the end are ignored", false, {7, 0, 0}, {900, 0, 3}, "epsilon"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DiffTextCopy::text(view(c.split, c.anchor, c.head)), c.text) << c.name;
    }
}

TEST(DiffTextCopy, NothingWithoutSelectionOrDiff) {
    DiffViewState v(false);
    EXPECT_EQ(DiffTextCopy::text(v), std::nullopt);
    v.textSelection = DiffTextSelection{{1, 0, 0}, {1, 0, 3}};
    EXPECT_EQ(DiffTextCopy::text(v), std::nullopt);
    v.setDiff(sample());
    v.textSelection = std::nullopt;
    EXPECT_EQ(DiffTextCopy::text(v), std::nullopt);
}

}  // namespace
}  // namespace tarv::ui
