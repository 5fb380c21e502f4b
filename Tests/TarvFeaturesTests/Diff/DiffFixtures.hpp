#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "TarvCore/Models/Diff.hpp"

namespace tarv::features::testing {

using LineKind = core::DiffLine::Kind;

// A diff with one hunk per list of line kinds.
inline core::Diff diffOf(const std::vector<std::vector<LineKind>>& hunks) {
    core::Diff diff;
    for (const auto& kinds : hunks) {
        core::DiffHunk hunk;
        hunk.header = "@@ -1 +1 @@";
        for (LineKind kind : kinds) hunk.lines.push_back(core::DiffLine{kind, "x", std::nullopt, std::nullopt});
        diff.hunks.push_back(std::move(hunk));
    }
    return diff;
}

// A diff whose hunks hold the given numbers of context lines.
inline core::Diff diffWithLines(const std::vector<std::int64_t>& counts) {
    std::vector<std::vector<LineKind>> hunks;
    for (std::int64_t count : counts) hunks.emplace_back(static_cast<std::size_t>(count), LineKind::context);
    return diffOf(hunks);
}

// Three hunks whose unified rows start at 0, 7, 10 (14 rows) and whose
// side-by-side rows start at 0, 5, 7 (11 rows).
inline core::Diff threeHunks() {
    using K = LineKind;
    return diffOf({{K::context, K::removed, K::removed, K::added, K::added, K::context},
                   {K::removed, K::added},
                   {K::context, K::added, K::context}});
}

// A hunk starting at old line `oldStart` with its counts worked out; each
// line is git's marker (' ', '-' or '+') and then the text.
inline core::DiffHunk hunkOf(std::int64_t oldStart, const std::vector<std::string>& lines) {
    core::DiffHunk hunk;
    hunk.oldStart = oldStart;
    for (const std::string& line : lines) {
        const LineKind kind = line[0] == '+' ? LineKind::added : line[0] == '-' ? LineKind::removed : LineKind::context;
        hunk.oldCount += kind == LineKind::added ? 0 : 1;
        hunk.newCount += kind == LineKind::removed ? 0 : 1;
        hunk.lines.push_back(core::DiffLine{kind, std::string_view(line).substr(1), std::nullopt, std::nullopt});
    }
    hunk.newStart = hunk.oldCount == 0 ? oldStart + 1 : oldStart;
    return hunk;
}

}  // namespace tarv::features::testing
