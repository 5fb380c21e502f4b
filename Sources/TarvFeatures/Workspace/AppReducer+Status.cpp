// The status refresh: merging a fresh working-tree status into the Changes
// tab, the file list's selection, the diff of the selected file, and the
// reads a status calls for (conflict documents, a queued refresh, the merge
// message, history and branches after HEAD moved).
#include <algorithm>
#include <exception>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features {

namespace {

// The status's paths, sorted and without repeats. git lists paths sorted,
// so the sort is usually a single check.
std::vector<std::string_view> sortedPaths(const std::vector<core::FileChange>& files) {
    std::vector<std::string_view> paths;
    paths.reserve(files.size());
    for (const auto& file : files) paths.emplace_back(file.path);
    if (!std::is_sorted(paths.begin(), paths.end())) std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    return paths;
}

bool sameSet(const std::set<std::string>& known, const std::vector<std::string_view>& paths) {
    return known.size() == paths.size() &&
           std::equal(known.begin(), known.end(), paths.begin(),
                      [](const std::string& a, std::string_view b) { return std::string_view(a) == b; });
}

// A file seen for the first time is included; one the user excluded stays
// excluded while it keeps showing up; nothing outside the status is kept.
//
// The known paths are brought up to date in place, in one walk over them
// and the sorted paths: only paths that came or went are inserted or
// removed, so a refresh costs no allocation when nothing came or went, and
// few when few did. `included` and `partial` hold only known paths (their
// writers see to it), so only the paths that went leave them.
void reconcilePaths(ChangesState& changes, const std::vector<core::FileChange>& files) {
    const std::vector<std::string_view> paths = sortedPaths(files);
    if (sameSet(changes.knownPaths, paths)) return;

    std::set<std::string>& known = changes.knownPaths;
    const bool first = known.empty() && changes.included.empty();
    std::vector<std::string> gone;
    auto leave = [&](std::set<std::string>::iterator at) {
        const auto next = std::next(at);
        gone.push_back(std::move(known.extract(at).value()));
        return next;
    };
    auto old = known.begin();
    auto includeAt = changes.included.begin();
    for (const std::string_view path : paths) {
        while (old != known.end() && std::string_view(*old) < path) old = leave(old);
        if (old != known.end() && std::string_view(*old) == path) {
            ++old;
            continue;
        }
        known.emplace_hint(old, path);
        // Each new path lands right after the previous one.
        if (!first) includeAt = std::next(changes.included.emplace_hint(includeAt, path));
    }
    while (old != known.end()) old = leave(old);
    // The first status: every path is new, and copying the set takes no
    // comparisons.
    if (first) changes.included = known;
    for (const auto& path : gone) {
        changes.included.erase(path);
        changes.partial.erase(path);
    }
}

// The selected path stays while the file list shows it; otherwise the first
// visible file is selected, or nothing (with an empty diff pane).
void reconcileSelection(WorkspaceState& workspace) {
    ChangesState& changes = workspace.changes;
    const auto visible = changes.visibleFiles(workspace.status);
    if (changes.selectedPath && visible.indexOf(*changes.selectedPath)) return;
    if (visible.empty()) {
        changes.selectedPath.reset();
        changes.diff = DiffViewState(workspace.splitDiff);
    } else {
        changes.selectedPath = visible[0].path;
    }
}

// Keeps the documents of the files still conflicted and reads each of them
// again.
AppEffect reloadConflicts(const AppReducer& reducer, WorkspaceState& workspace) {
    std::vector<AppEffect> reads;
    std::set<std::string> conflicted;
    for (const auto& file : workspace.status.files) {
        if (file.kind != core::ChangeKind::conflicted) continue;
        conflicted.insert(file.path);
        reads.push_back(reducer.loadConflict(workspace, file.path));
    }
    const auto gone = [&](const auto& entry) { return !conflicted.contains(entry.first); };
    std::erase_if(workspace.changes.conflicts, gone);
    std::erase_if(workspace.changes.conflictTexts, gone);
    return AppEffect::merge(std::move(reads));
}

bool isMerging(const std::optional<core::RepositoryOperation>& operation) {
    return operation == core::RepositoryOperation::merge;
}

}  // namespace

AppEffect AppReducer::statusLoaded(WorkspaceState& workspace, core::WorkingTreeStatus status) const {
    const bool wasMerging = isMerging(workspace.status.operation);
    const bool wasLoaded = workspace.isStatusLoaded;
    const core::BranchStatus previousBranch = workspace.status.branch;

    workspace.status = std::move(status);
    workspace.isStatusLoaded = true;
    workspace.isRefreshing = false;
    reconcilePaths(workspace.changes, workspace.status.files);
    reconcileSelection(workspace);
    syncFileListSelection(workspace);

    std::vector<AppEffect> effects;
    effects.push_back(reloadConflicts(*this, workspace));
    if (const core::FileChange* file = workspace.changes.selectedFile(workspace.status)) {
        const bool sameFile = workspace.changes.diff.path == file->path;
        effects.push_back(loadDiff(workspace, *file, sameFile));
    }
    if (workspace.refreshQueued) {
        workspace.refreshQueued = false;
        effects.push_back(reloadStatus(workspace));
    }
    const std::string summary = workspace.summary.text();
    const bool summaryIsOurs = summary.empty() || workspace.autoSummary == summary;
    if (isMerging(workspace.status.operation) && !wasMerging && summaryIsOurs) {
        effects.push_back(loadMergeMessage(workspace.path));
    }
    const core::BranchStatus& branch = workspace.status.branch;
    if (wasLoaded && (branch.objectID != previousBranch.objectID || branch.head != previousBranch.head)) {
        effects.push_back(loadHistory(workspace.path, 0));
        effects.push_back(loadBranches(workspace.path));
    }
    return AppEffect::merge(std::move(effects));
}

void AppReducer::syncFileListSelection(WorkspaceState& workspace) const {
    ChangesState& changes = workspace.changes;
    const auto visible = changes.visibleFiles(workspace.status);
    const std::int64_t count = visible.size();
    const std::int64_t rows = workspace.viewports.fileList;
    changes.list.clamp(count, rows);
    const auto found = changes.selectedPath ? visible.indexOf(*changes.selectedPath) : std::nullopt;
    if (!found) {
        changes.list.selected.reset();
        return;
    }
    changes.list.select(*found, count, rows);
}

AppEffect AppReducer::loadDiff(WorkspaceState& workspace, const core::FileChange& file, bool keepContent) const {
    if (keepContent) {
        workspace.changes.diff.reload();
    } else {
        workspace.changes.diff.begin(file.path);
    }
    return AppEffect::run("diff", [repository = dependencies_.repository, path = workspace.path, file](
                                      AppEffect::Send send, std::stop_token stop) {
        // A newer selection replaced this read: whatever it found is stale.
        try {
            core::Diff diff = repository->diff(path, file, stop);
            if (!stop.stop_requested()) send(WorkspaceAction::DiffLoaded{file.path, std::move(diff)});
        } catch (...) {
            if (!stop.stop_requested()) {
                send(WorkspaceAction::DiffFailed{file.path, ErrorText::describe(std::current_exception())});
            }
        }
    });
}

AppEffect AppReducer::reloadStatus(WorkspaceState& workspace) const {
    workspace.isRefreshing = true;
    return refreshStatus(workspace.path);
}

AppEffect AppReducer::filesChanged(WorkspaceState& workspace) const {
    if (workspace.isRefreshing) {
        workspace.refreshQueued = true;
        return AppEffect::none();
    }
    return reloadStatus(workspace);
}

AppEffect AppReducer::loadMergeMessage(const std::string& path) const {
    return AppEffect::run("mergeMessage", [repository = dependencies_.repository, path](AppEffect::Send send,
                                                                                      std::stop_token stop) {
        try {
            if (auto message = repository->pendingMergeMessage(path, stop); message && !message->empty()) {
                send(WorkspaceAction::MergeMessageLoaded{std::move(*message)});
            }
        } catch (...) {
            // Without the message the summary stays as it is.
        }
    });
}

}  // namespace tarv::features
