#pragma once

#include <cstdint>
#include <vector>

#include "TarvCore/Models/Diff.hpp"

namespace tarv::core {

// Counts and the row layout of a Diff, for scrolling and for sizing the
// line-number gutter.
struct DiffStats {
    std::int64_t additions = 0;
    std::int64_t deletions = 0;
    // Rows of the unified layout.
    std::int64_t lineCount = 0;
    // Row of each hunk's header in the unified layout.
    std::vector<std::int64_t> hunkStarts = {};
    // The largest start + count over both sides of all hunks, at least 1.
    std::int64_t maxLineNumber = 1;

    DiffStats() = default;
    DiffStats(std::int64_t additions, std::int64_t deletions, std::int64_t lineCount,
              std::vector<std::int64_t> hunkStarts, std::int64_t maxLineNumber)
        : additions(additions),
          deletions(deletions),
          lineCount(lineCount),
          hunkStarts(std::move(hunkStarts)),
          maxLineNumber(maxLineNumber) {}
    // All fields in one pass over the hunks.
    explicit DiffStats(const Diff& diff);

    bool operator==(const DiffStats&) const = default;
};

}  // namespace tarv::core
