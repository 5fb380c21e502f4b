#include "TarvUI/Components/ChangesRows.hpp"

#include "TarvCore/Rules/Trimmed.hpp"
#include "TarvFeatures/Changes/SubstringFilter.hpp"
#include "TarvFeatures/Workspace/WorkspaceState.hpp"

namespace tarv::ui {

namespace {

bool filterIsBlank(const features::WorkspaceState& ws) {
    if (ws.changes.filter.isEmpty()) return true;
    return features::SubstringFilter(ws.changes.filter.text()).isEmpty();
}

// The status and the paths the reducer last applied agree.
bool statusIsApplied(const features::WorkspaceState& ws) {
    return ws.changes.knownPaths.size() == ws.status.files.size();
}

}  // namespace

ChangesRows::ChangesRows(const features::WorkspaceState& ws) : ws_(ws), everyFile_(filterIsBlank(ws)) {
    if (everyFile_) {
        count_ = static_cast<std::int64_t>(ws.status.files.size());
    } else {
        filtered_ = ws.changes.visibleFiles(ws.status);
        count_ = static_cast<std::int64_t>(filtered_.size());
    }
}

const core::FileChange& ChangesRows::operator[](std::int64_t index) const {
    const auto i = static_cast<std::size_t>(index);
    return everyFile_ ? ws_.status.files[i] : *filtered_[i];
}

ChangesRows::Inclusion ChangesRows::inclusion() const {
    const auto& changes = ws_.changes;
    if (count_ == 0 || changes.included.empty()) return Inclusion::none;
    if (everyFile_ && statusIsApplied(ws_)) {
        const bool every = changes.included.size() == changes.knownPaths.size() && changes.partial.empty();
        return every ? Inclusion::all : Inclusion::some;
    }
    bool every = true;
    bool any = false;
    for (std::int64_t i = 0; i < count_; ++i) {
        const std::string& path = (*this)[i].path;
        const bool included = changes.included.contains(path);
        any = any || included;
        every = every && included && !changes.partial.contains(path);
    }
    if (every) return Inclusion::all;
    return any ? Inclusion::some : Inclusion::none;
}

const core::FileChange* ChangesRows::selectedFile(const features::WorkspaceState& ws) {
    const auto& changes = ws.changes;
    if (!changes.selectedPath) return nullptr;
    const auto& files = ws.status.files;
    if (changes.list.selected && filterIsBlank(ws)) {
        const auto index = *changes.list.selected;
        if (index >= 0 && index < static_cast<std::int64_t>(files.size()) &&
            files[static_cast<std::size_t>(index)].path == *changes.selectedPath) {
            return &files[static_cast<std::size_t>(index)];
        }
    }
    return changes.selectedFile(ws.status);
}

std::int64_t ChangesRows::includedCount(const features::WorkspaceState& ws) {
    if (statusIsApplied(ws)) return static_cast<std::int64_t>(ws.changes.included.size());
    return ws.includedCount();
}

bool ChangesRows::canCommit(const features::WorkspaceState& ws) {
    // Only one case of canCommit counts the included files: nothing but a
    // merge in progress, not amending, something included. Once the status
    // is applied that count is at least one there, and the rest of the rule
    // follows.
    const auto& operation = ws.status.operation;
    const bool counts = (!operation || *operation == core::RepositoryOperation::merge) && !ws.isAmending &&
                        !ws.changes.included.empty();
    if (!counts || !statusIsApplied(ws)) return ws.canCommit();
    const std::string summary = ws.summary.text();
    if (core::trimmedView(summary).empty() || ws.isCommitting) return false;
    return !ws.hasUnresolvedConflicts();
}

const core::ConflictDocument* ChangesRows::activeConflict(const features::WorkspaceState& ws) {
    const core::FileChange* file = selectedFile(ws);
    if (!file || file->kind != core::ChangeKind::conflicted) return nullptr;
    const auto document = ws.changes.conflicts.find(file->path);
    return document == ws.changes.conflicts.end() ? nullptr : &document->second;
}

}  // namespace tarv::ui
