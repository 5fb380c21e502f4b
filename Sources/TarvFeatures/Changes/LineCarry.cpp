#include "TarvFeatures/Changes/LineCarry.hpp"

#include <algorithm>
#include <cstdint>
#include <map>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarv::features::LineCarry {

namespace {

struct Placed {
    core::LineRef ref;
    std::string_view text;
};

// The change lines of a diff by their place in the old side of the file.
struct Places {
    // Removed lines by old line number.
    std::map<std::int64_t, Placed> removed;
    // Added lines, in diff order, by the last unchanged old line before them
    // (0 before the first line).
    std::map<std::int64_t, std::vector<Placed>> added;
};

Places placesOf(const core::Diff& diff) {
    using Kind = core::DiffLine::Kind;
    Places places;
    for (std::size_t h = 0; h < diff.hunks.size(); ++h) {
        const core::DiffHunk& hunk = diff.hunks[h];
        // A hunk without old lines is placed after its start line.
        std::int64_t next = hunk.oldCount == 0 ? hunk.oldStart + 1 : hunk.oldStart;
        std::int64_t unchanged = next - 1;
        for (std::size_t i = 0; i < hunk.lines.size(); ++i) {
            const core::DiffLine line = hunk.lines[i];
            const Placed placed{core::LineRef{static_cast<std::int64_t>(h), static_cast<std::int64_t>(i)}, line.text};
            switch (line.kind) {
                case Kind::context: unchanged = next++; break;
                case Kind::removed: places.removed.emplace(next++, placed); break;
                case Kind::added: places.added[unchanged].push_back(placed); break;
                case Kind::noNewlineMarker: break;
            }
        }
    }
    return places;
}

using Matches = std::map<core::LineRef, core::LineRef>;

// Pairs the added lines placed at one spot: each old line takes the first
// new line with its text after the one the previous match took, so the
// order stays and lines typed in between are left over.
void matchAdded(const std::vector<Placed>& older, const std::vector<Placed>& newer, Matches& matches) {
    std::unordered_map<std::string_view, std::vector<std::size_t>> byText;
    for (std::size_t i = 0; i < newer.size(); ++i) byText[newer[i].text].push_back(i);
    std::size_t from = 0;
    for (const Placed& line : older) {
        const auto candidates = byText.find(line.text);
        if (candidates == byText.end()) continue;
        const auto at = std::lower_bound(candidates->second.begin(), candidates->second.end(), from);
        if (at == candidates->second.end()) continue;
        matches.emplace(line.ref, newer[*at].ref);
        from = *at + 1;
    }
}

Matches match(const Places& older, const Places& newer) {
    Matches matches;
    for (const auto& [number, line] : older.removed) {
        const auto other = newer.removed.find(number);
        if (other != newer.removed.end() && other->second.text == line.text) matches.emplace(line.ref, other->second.ref);
    }
    for (const auto& [spot, lines] : older.added) {
        if (const auto other = newer.added.find(spot); other != newer.added.end()) matchAdded(lines, other->second, matches);
    }
    return matches;
}

}  // namespace

std::optional<std::set<core::LineRef>> carry(const core::Diff& older, const std::set<core::LineRef>& chosen,
                                             const core::Diff& newer) {
    const Matches matches = match(placesOf(older), placesOf(newer));
    std::set<core::LineRef> carried;
    for (const core::LineRef& line : chosen) {
        const auto found = matches.find(line);
        if (found == matches.end()) return std::nullopt;
        carried.insert(found->second);
    }
    return carried;
}

}  // namespace tarv::features::LineCarry
