#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "TarvCore/Models/Diff.hpp"
#include "TarvCore/Models/LineRef.hpp"

namespace tarv::core {

// Which removed line is compared with which added line for word-level
// emphasis, in both directions: the i-th line of a run of removed lines
// with the i-th line of the run of added lines right after it (the lines a
// side-by-side diff sets in one row). A line past the end of the shorter
// run has no partner.
//
// Kept as the runs themselves, not a pair per line: a wholly rewritten file
// of millions of lines costs a few numbers per run, and `partner` is a
// binary search over the runs.
class WordPairs {
public:
    WordPairs() = default;
    explicit WordPairs(const Diff& diff);

    // The line compared with `line`, if there is one.
    std::optional<LineRef> partner(const LineRef& line) const;
    bool empty() const { return runs_.empty(); }
    // Every pair, in both directions (for small diffs and tests).
    std::map<LineRef, LineRef> all() const;

    bool operator==(const WordPairs&) const = default;

private:
    // Lines `removed.line` ... and `added` ... of hunk `removed.hunk`, `count`
    // of each, paired in order; the added lines come after the removed ones.
    struct Run {
        LineRef removed;
        std::int64_t added = 0;
        std::int64_t count = 0;
        bool operator==(const Run&) const = default;
    };
    std::vector<Run> runs_;  // in the order of their lines
};

}  // namespace tarv::core
