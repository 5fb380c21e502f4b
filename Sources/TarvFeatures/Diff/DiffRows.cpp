#include "TarvFeatures/Diff/DiffRows.hpp"

#include <algorithm>

namespace tarv::features::DiffRows {

namespace {

std::int64_t lineCount(const core::DiffHunk& hunk) { return static_cast<std::int64_t>(hunk.lines.size()); }

}  // namespace

std::optional<Kind> kind(std::int64_t row, const core::Diff& diff) {
    // Rows before the first header are not rows: without this a negative row
    // would fall into the first hunk as a line with a negative index.
    if (row < 0) return std::nullopt;
    std::int64_t start = 0;
    for (std::size_t index = 0; index < diff.hunks.size(); ++index) {
        const auto hunk = static_cast<std::int64_t>(index);
        const std::int64_t count = lineCount(diff.hunks[index]);
        if (row == start) return Kind::hunkHeader(hunk);
        if (row <= start + count) return Kind::line(core::LineRef{hunk, row - start - 1});
        start += count + 1;
    }
    return std::nullopt;
}

std::int64_t row(core::LineRef ref, const core::Diff& diff) {
    const auto before = static_cast<std::size_t>(
        std::clamp<std::int64_t>(ref.hunk, 0, static_cast<std::int64_t>(diff.hunks.size())));
    std::int64_t start = 0;
    for (std::size_t index = 0; index < before; ++index) start += lineCount(diff.hunks[index]) + 1;
    return start + 1 + ref.line;
}

std::vector<std::int64_t> hunkStarts(const core::Diff& diff) {
    std::vector<std::int64_t> starts;
    starts.reserve(diff.hunks.size());
    std::int64_t start = 0;
    for (const auto& hunk : diff.hunks) {
        starts.push_back(start);
        start += lineCount(hunk) + 1;
    }
    return starts;
}

}  // namespace tarv::features::DiffRows
