#include "TarvFeatures/Changes/ChangesState.hpp"

namespace tarv::features {

VisibleFiles ChangesState::visibleFiles(const core::WorkingTreeStatus& status) const {
    return VisibleFiles(*this, status);
}

const core::FileChange* ChangesState::selectedFile(const core::WorkingTreeStatus& status) const {
    if (!selectedPath) return nullptr;
    // The reducer keeps the list's selection on the selected file's row, and
    // with a blank filter the rows are the status's files: look there first.
    // A status lists a path once, so a match there is the file.
    if (list.selected && *list.selected >= 0 && *list.selected < static_cast<std::int64_t>(status.files.size())) {
        const auto& candidate = status.files[static_cast<std::size_t>(*list.selected)];
        if (candidate.path == *selectedPath) return &candidate;
    }
    for (const auto& file : status.files) {
        if (file.path == *selectedPath) return &file;
    }
    return nullptr;
}

std::vector<core::FileChange> ChangesState::includedChanges(const core::WorkingTreeStatus& status) const {
    std::vector<core::FileChange> files;
    if (included.empty()) return files;
    for (const auto& file : status.files) {
        if (included.contains(file.path)) files.push_back(file);
    }
    return files;
}

std::int64_t ChangesState::includedCount(const core::WorkingTreeStatus& status) const {
    if (included.empty()) return 0;
    // `included` holds only paths of the last status applied; while that is
    // the status given, every included path is one of its files.
    if (knownPaths.size() == status.files.size()) return static_cast<std::int64_t>(included.size());
    std::int64_t count = 0;
    for (const auto& file : status.files) count += included.contains(file.path) ? 1 : 0;
    return count;
}

core::CommitSelection ChangesState::commitSelection(const core::WorkingTreeStatus& status) const {
    core::CommitSelection selection;
    if (included.empty()) return selection;
    for (const auto& file : status.files) {
        if (!included.contains(file.path)) continue;
        if (const auto entry = partial.find(file.path); entry != partial.end()) {
            const bool isNewFile = file.kind == core::ChangeKind::untracked || file.kind == core::ChangeKind::added;
            selection.partials.push_back(
                core::PartialSelection{file.path, isNewFile, entry->second.diff, entry->second.lines});
            continue;
        }
        selection.wholePaths.push_back(file.path);
        if (file.originalPath) selection.wholePaths.push_back(*file.originalPath);
    }
    return selection;
}

const core::ConflictDocument* ChangesState::activeConflict(const core::WorkingTreeStatus& status) const {
    const core::FileChange* file = selectedFile(status);
    if (!file || file->kind != core::ChangeKind::conflicted) return nullptr;
    const auto document = conflicts.find(file->path);
    return document == conflicts.end() ? nullptr : &document->second;
}

SelectedLines ChangesState::selection() const {
    if (!selectedPath || !diff.diff()) return SelectedLines::none();
    if (const auto entry = partial.find(*selectedPath); entry != partial.end()) {
        return SelectedLines::some(entry->second.lines);
    }
    return included.contains(*selectedPath) ? SelectedLines::all() : SelectedLines::none();
}

std::set<core::LineRef> ChangesState::selectedLines() const {
    if (!selectedPath || !diff.diff()) return {};
    if (const auto entry = partial.find(*selectedPath); entry != partial.end()) return entry->second.lines;
    if (!included.contains(*selectedPath)) return {};
    const std::vector<core::LineRef> lines = diff.diff()->changeLines();
    return std::set<core::LineRef>(lines.begin(), lines.end());
}

}  // namespace tarv::features
