#include "TarvCore/Models/Diff.hpp"

#include <algorithm>

#include "TarvCore/Models/DiffStats.hpp"

namespace tarv::core {

namespace {

std::int64_t countKind(const std::vector<DiffHunk>& hunks, DiffLine::Kind kind) {
    std::int64_t count = 0;
    for (const auto& hunk : hunks) {
        for (const auto& line : hunk.lines) count += line.kind == kind ? 1 : 0;
    }
    return count;
}

bool isChange(const DiffLine& line) {
    return line.kind == DiffLine::Kind::added || line.kind == DiffLine::Kind::removed;
}

}  // namespace

std::int64_t Diff::additions() const { return countKind(hunks, DiffLine::Kind::added); }

std::int64_t Diff::deletions() const { return countKind(hunks, DiffLine::Kind::removed); }

std::int64_t Diff::lineCount() const {
    std::int64_t rows = 0;
    for (const auto& hunk : hunks) rows += 1 + static_cast<std::int64_t>(hunk.lines.size());
    return rows;
}

std::vector<LineRef> Diff::changeLines() const {
    std::vector<LineRef> refs;
    for (std::size_t h = 0; h < hunks.size(); ++h) {
        const auto& lines = hunks[h].lines;
        for (std::size_t l = 0; l < lines.size(); ++l) {
            if (isChange(lines[l])) refs.push_back({static_cast<std::int64_t>(h), static_cast<std::int64_t>(l)});
        }
    }
    return refs;
}

std::vector<LineRef> Diff::changeLinesInHunk(std::int64_t hunk) const {
    std::vector<LineRef> refs;
    if (hunk < 0 || hunk >= static_cast<std::int64_t>(hunks.size())) return refs;
    const auto& lines = hunks[static_cast<std::size_t>(hunk)].lines;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        if (isChange(lines[l])) refs.push_back({hunk, static_cast<std::int64_t>(l)});
    }
    return refs;
}

DiffStats::DiffStats(const Diff& diff) {
    hunkStarts.reserve(diff.hunks.size());
    std::int64_t row = 0;
    std::int64_t bound = 1;
    for (const auto& hunk : diff.hunks) {
        hunkStarts.push_back(row);
        row += 1 + static_cast<std::int64_t>(hunk.lines.size());
        bound = std::max({bound, hunk.oldStart + hunk.oldCount, hunk.newStart + hunk.newCount});
        for (const auto& line : hunk.lines) {
            if (line.kind == DiffLine::Kind::added) ++additions;
            if (line.kind == DiffLine::Kind::removed) ++deletions;
        }
    }
    lineCount = row;
    maxLineNumber = bound;
}

}  // namespace tarv::core
