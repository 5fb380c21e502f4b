#pragma once

#include <cstdint>
#include <vector>

#include "TarvCore/Models/DiffHunk.hpp"
#include "TarvCore/Models/DiffLine.hpp"
#include "TarvCore/Models/LineRef.hpp"

namespace tarv::core {

// The parsed unified diff of one file.
struct Diff {
    bool isBinary = false;
    std::vector<DiffHunk> hunks = {};

    // No hunks, not binary.
    static const Diff empty;

    // Lines of kind `added` over all hunks.
    std::int64_t additions() const;
    // Lines of kind `removed` over all hunks.
    std::int64_t deletions() const;
    // Rows of the unified layout: per hunk one header row and one row per
    // line (no-newline markers included).
    std::int64_t lineCount() const;
    // Every added and removed line, in diff order.
    std::vector<LineRef> changeLines() const;
    // The added and removed lines of one hunk; empty for an index outside
    // the hunks.
    std::vector<LineRef> changeLinesInHunk(std::int64_t hunk) const;

    bool operator==(const Diff&) const = default;
};

inline constinit const Diff Diff::empty{};

}  // namespace tarv::core
