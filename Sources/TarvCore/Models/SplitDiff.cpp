#include "TarvCore/Models/SplitDiff.hpp"

#include <algorithm>

namespace tarv::core {

SplitDiff::SplitDiff(const Diff& diff) {
    // The split layout never has more rows than the unified one.
    rows.reserve(static_cast<std::size_t>(diff.lineCount()));
    hunkStarts.reserve(diff.hunks.size());
    std::vector<LineRef> removed;
    std::vector<LineRef> added;
    auto flush = [&] {
        const std::size_t count = std::max(removed.size(), added.size());
        for (std::size_t i = 0; i < count; ++i) {
            std::optional<LineRef> left = i < removed.size() ? std::optional(removed[i]) : std::nullopt;
            std::optional<LineRef> right = i < added.size() ? std::optional(added[i]) : std::nullopt;
            rows.push_back(Row::Pair{left, right});
        }
        removed.clear();
        added.clear();
    };
    using Kind = DiffLine::Kind;
    for (std::size_t h = 0; h < diff.hunks.size(); ++h) {
        const auto hunk = static_cast<std::int64_t>(h);
        hunkStarts.push_back(static_cast<std::int64_t>(rows.size()));
        rows.push_back(Row::Header{hunk});
        const DiffLines& lines = diff.hunks[h].lines;
        Kind previous = Kind::context;
        for (std::size_t l = 0; l < lines.size(); ++l) {
            const LineRef ref{hunk, static_cast<std::int64_t>(l)};
            // A no-newline marker follows the line before it (context at the
            // start of a hunk).
            const Kind kind = lines[l].kind == Kind::noNewlineMarker ? (l == 0 ? Kind::context : previous)
                                                                     : lines[l].kind;
            previous = kind;
            switch (kind) {
                case Kind::context:
                case Kind::noNewlineMarker:
                    flush();
                    rows.push_back(Row::Pair{ref, ref});
                    break;
                case Kind::removed:
                    if (!added.empty()) flush();
                    removed.push_back(ref);
                    break;
                case Kind::added: added.push_back(ref); break;
            }
        }
        flush();
    }
}

// A run of removed lines and the run of added lines after it are both
// contiguous in the hunk (a no-newline marker belongs to the run of the line
// before it), so each run is a start and a length.
std::map<LineRef, LineRef> SplitDiff::wordPairs(const Diff& diff) {
    using Kind = DiffLine::Kind;
    std::map<LineRef, LineRef> pairs;
    for (std::size_t h = 0; h < diff.hunks.size(); ++h) {
        const auto hunk = static_cast<std::int64_t>(h);
        std::int64_t removedStart = 0, removedCount = 0, addedCount = 0;
        auto flush = [&] {
            for (std::int64_t i = 0; i < std::min(removedCount, addedCount); ++i) {
                const LineRef left{hunk, removedStart + i}, right{hunk, removedStart + removedCount + i};
                pairs[left] = right;
                pairs[right] = left;
            }
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
    return pairs;
}

}  // namespace tarv::core
