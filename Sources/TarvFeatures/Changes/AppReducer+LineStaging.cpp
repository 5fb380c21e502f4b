// Line-level staging: choosing single added and removed lines of the
// selected file for the next commit, from the diff margin, the cursor line
// or a whole hunk. Every operation ends in `store`, which turns the chosen
// lines into an excluded file, a file included whole, or a partial
// selection made on the loaded diff.
#include <algorithm>
#include <set>
#include <vector>

#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {

namespace {

using Lines = std::set<core::LineRef>;

void store(WorkspaceState& workspace, const Lines& lines) {
    ChangesState& changes = workspace.changes;
    const auto& diff = changes.diff.diff();
    if (!changes.selectedPath || !diff) return;
    const std::string& path = *changes.selectedPath;
    const std::vector<core::LineRef> all = diff->changeLines();
    Lines chosen;
    std::copy_if(all.begin(), all.end(), std::inserter(chosen, chosen.end()),
                 [&](const core::LineRef& line) { return lines.contains(line); });
    changes.partial.erase(path);
    if (chosen.empty()) {
        changes.included.erase(path);
        return;
    }
    changes.included.insert(path);
    if (chosen.size() < all.size()) changes.partial.emplace(path, PartialFileSelection{std::move(chosen), *diff});
}

// Adds `group` to the selection unless every line of it is already there,
// in which case it leaves.
void toggleGroup(WorkspaceState& workspace, const std::vector<core::LineRef>& group) {
    if (group.empty()) return;
    Lines lines = workspace.changes.selectedLines();
    const bool all = std::all_of(group.begin(), group.end(), [&](const core::LineRef& l) { return lines.contains(l); });
    for (const auto& line : group) {
        if (all) {
            lines.erase(line);
        } else {
            lines.insert(line);
        }
    }
    store(workspace, lines);
}

}  // namespace

void AppReducer::toggleLine(WorkspaceState& workspace, core::LineRef line) const {
    const auto& diff = workspace.changes.diff.diff();
    if (!diff || line.hunk < 0 || line.hunk >= static_cast<std::int64_t>(diff->hunks.size())) return;
    const auto& hunk = diff->hunks[static_cast<std::size_t>(line.hunk)];
    if (line.line < 0 || line.line >= static_cast<std::int64_t>(hunk.lines.size())) return;
    Lines lines = workspace.changes.selectedLines();
    if (!lines.erase(line)) lines.insert(line);
    store(workspace, lines);
}

void AppReducer::toggleHunk(WorkspaceState& workspace, std::int64_t hunk) const {
    const auto& diff = workspace.changes.diff.diff();
    if (!diff) return;
    toggleGroup(workspace, diff->changeLinesInHunk(hunk));
}

void AppReducer::setLineRange(WorkspaceState& workspace, core::LineRef from, core::LineRef to, bool selected) const {
    const auto& diff = workspace.changes.diff.diff();
    if (!diff) return;
    const auto [low, high] = std::minmax(from, to);
    Lines lines = workspace.changes.selectedLines();
    for (const auto& line : diff->changeLines()) {
        if (line < low || high < line) continue;
        if (selected) {
            lines.insert(line);
        } else {
            lines.erase(line);
        }
    }
    store(workspace, lines);
}

void AppReducer::toggleAtCursor(WorkspaceState& workspace, bool hunk) const {
    const ChangesState& changes = workspace.changes;
    const core::FileChange* file = changes.selectedFile(workspace.status);
    if (file && file->kind == core::ChangeKind::conflicted && changes.conflicts.contains(file->path)) return;
    const auto& diff = changes.diff.diff();
    if (!diff) return;
    const auto target = changes.diff.target(changes.diff.cursor);
    if (!target) return;
    if (const auto* header = std::get_if<DiffRowTarget::HunkHeader>(&target->value)) {
        toggleGroup(workspace, diff->changeLinesInHunk(header->hunk));
        return;
    }
    const auto& refs = std::get<DiffRowTarget::Lines>(target->value).refs;
    if (refs.empty()) return;
    const std::int64_t index = refs.front().hunk;
    const std::vector<core::LineRef> hunkLines = diff->changeLinesInHunk(index);
    if (hunk) {
        toggleGroup(workspace, hunkLines);
        return;
    }
    std::vector<core::LineRef> chosen;
    std::copy_if(refs.begin(), refs.end(), std::back_inserter(chosen), [&](const core::LineRef& ref) {
        return std::find(hunkLines.begin(), hunkLines.end(), ref) != hunkLines.end();
    });
    toggleGroup(workspace, chosen);
}

}  // namespace tarv::features
