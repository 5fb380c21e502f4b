#include "TarvCore/Models/WordPairs.hpp"

#include <algorithm>
#include <iterator>

namespace tarv::core {

// A run of removed lines and the run of added lines after it are both
// contiguous in the hunk (a no-newline marker belongs to the run of the line
// before it), so each run is a start and a length.
WordPairs::WordPairs(const Diff& diff) {
    using Kind = DiffLine::Kind;
    for (std::size_t h = 0; h < diff.hunks.size(); ++h) {
        const auto hunk = static_cast<std::int64_t>(h);
        std::int64_t removedStart = 0, removedCount = 0, addedCount = 0;
        auto flush = [&] {
            const std::int64_t count = std::min(removedCount, addedCount);
            if (count > 0) runs_.push_back(Run{LineRef{hunk, removedStart}, removedStart + removedCount, count});
            removedCount = addedCount = 0;
        };
        const DiffLines& lines = diff.hunks[h].lines;
        Kind previous = Kind::context;
        for (std::size_t l = 0; l < lines.size(); ++l) {
            const Kind kind = lines[l].kind == Kind::noNewlineMarker ? (l == 0 ? Kind::context : previous)
                                                                     : lines[l].kind;
            previous = kind;
            if (kind == Kind::added) {
                ++addedCount;
            } else if (kind == Kind::removed) {
                if (addedCount > 0) flush();
                if (removedCount == 0) removedStart = static_cast<std::int64_t>(l);
                ++removedCount;
            } else {
                flush();
            }
        }
        flush();
    }
}

std::optional<LineRef> WordPairs::partner(const LineRef& line) const {
    // The only run that can hold `line` is the last one starting at or
    // before it: a run's added lines end before the next run starts.
    const auto after = std::upper_bound(runs_.begin(), runs_.end(), line,
                                        [](const LineRef& ref, const Run& run) { return ref < run.removed; });
    if (after == runs_.begin()) return std::nullopt;
    const Run& run = *std::prev(after);
    if (run.removed.hunk != line.hunk) return std::nullopt;
    const std::int64_t intoRemoved = line.line - run.removed.line;
    if (intoRemoved < run.count) return LineRef{line.hunk, run.added + intoRemoved};
    const std::int64_t intoAdded = line.line - run.added;
    if (intoAdded >= 0 && intoAdded < run.count) return LineRef{line.hunk, run.removed.line + intoAdded};
    return std::nullopt;
}

std::map<LineRef, LineRef> WordPairs::all() const {
    std::map<LineRef, LineRef> pairs;
    for (const Run& run : runs_) {
        for (std::int64_t i = 0; i < run.count; ++i) {
            const LineRef left{run.removed.hunk, run.removed.line + i}, right{run.removed.hunk, run.added + i};
            pairs[left] = right;
            pairs[right] = left;
        }
    }
    return pairs;
}

}  // namespace tarv::core
