// The Changes tab's selection and its recoverable writes: selecting a file
// (its diff, and its conflict document when conflicted), moving the
// selection, discarding behind a safety snapshot, undoing the last discard
// or the last unpushed commit, and ignoring a file.
//
// Writes never stop half-way: their jobs hand the port a token that no
// replacement or cancellation can trigger, and always report, so a second
// discard or ignore started while one runs waits for it in the repository's
// write queue and both results are reduced. Undo is refused while one runs.
#include <algorithm>
#include <exception>
#include <iterator>
#include <utility>

#include "TarvCore/Errors/UnfinishedDiscard.hpp"
#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features {

namespace {

// Discarded paths in the given order, a moved file's original path after
// its new one.
std::vector<std::string> discardedPaths(const std::vector<core::FileChange>& files) {
    std::vector<std::string> paths;
    for (const auto& file : files) {
        paths.push_back(file.path);
        if (file.originalPath) paths.push_back(*file.originalPath);
    }
    return paths;
}

std::string lastComponent(const std::string& path) {
    std::string_view rest = path;
    while (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
    const auto slash = rest.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? rest : rest.substr(slash + 1);
    return name.empty() ? path : std::string(name);
}

// The words, the recovery point and the first of the paths that an undo
// kept before writing over them.
std::string keptEditsBody(core::Language language, const core::SnapshotRestore& outcome) {
    constexpr std::size_t listed = 10;
    std::string body = core::Text::undoKeptEditsBody().render(language) + "\n\n" + outcome.keptEdits.value_or("") + "\n";
    for (std::size_t i = 0; i < outcome.editedPaths.size() && i < listed; ++i) body += "\n" + outcome.editedPaths[i];
    if (outcome.editedPaths.size() > listed) body += "\n…";
    return body;
}

}  // namespace

AppEffect AppReducer::selectFile(WorkspaceState& workspace, const std::string& path) const {
    const auto& files = workspace.status.files;
    const auto found = std::find_if(files.begin(), files.end(), [&](const core::FileChange& f) { return f.path == path; });
    if (found == files.end()) return AppEffect::none();
    const core::FileChange file = *found;

    ChangesState& changes = workspace.changes;
    changes.selectedPath = path;
    workspace.focus = WorkspaceFocus::files;
    changes.conflictOffset = 0;
    changes.conflictCursor = 0;
    syncFileListSelection(workspace);
    AppEffect diff = loadDiff(workspace, file, false);
    if (file.kind != core::ChangeKind::conflicted) return diff;
    return AppEffect::merge(std::move(diff), loadConflict(workspace, path));
}

AppEffect AppReducer::moveFileSelection(WorkspaceState& workspace, std::int64_t by) const {
    const auto visible = workspace.changes.visibleFiles(workspace.status);
    if (visible.empty()) return AppEffect::none();
    const std::int64_t last = visible.size() - 1;
    const auto& selected = workspace.changes.selectedPath;
    const auto found = selected ? visible.indexOf(*selected) : std::nullopt;
    std::int64_t target = 0;
    if (found) {
        const std::int64_t current = *found;
        target = std::clamp(current + by, std::int64_t{0}, last);
        if (target == current) return AppEffect::none();
    } else {
        target = std::clamp(by >= 1 ? by - 1 : last + 1 + by, std::int64_t{0}, last);
    }
    return selectFile(workspace, visible[target].path);
}

AppEffect AppReducer::discard(AppState& state, std::vector<core::FileChange> files) const {
    WorkspaceState& workspace = *state.workspace;
    const auto submodules = std::erase_if(files, [](const core::FileChange& file) { return file.isSubmodule; });
    if (files.empty() && submodules > 0) {
        state.overlay = Overlay::message(core::Text::errorTitle(), core::Text::discardSubmodule());
        return AppEffect::none();
    }
    return AppEffect::write("discard", writeLane(workspace.path),
                            [repository = dependencies_.repository, path = workspace.path, files = std::move(files),
                             submodulesKept = submodules > 0](AppEffect::Send send, std::stop_token) {
        try {
            std::string reference = repository->discard(path, files, std::stop_token());
            send(WorkspaceAction::Discarded{DiscardRecord{std::move(reference), discardedPaths(files)},
                                            submodulesKept});
        } catch (const core::UnfinishedDiscard& unfinished) {
            send(WorkspaceAction::DiscardFailed{ErrorText::describe(unfinished.cause),
                                                DiscardRecord{unfinished.snapshot, discardedPaths(files)}});
        } catch (...) {
            send(WorkspaceAction::DiscardFailed{ErrorText::describe(std::current_exception())});
        }
    });
}

AppEffect AppReducer::undo(AppState& state) const {
    WorkspaceState& workspace = *state.workspace;
    if (workspace.isUndoing) return AppEffect::none();
    auto repository = dependencies_.repository;
    if (workspace.lastDiscard) {
        DiscardRecord record = std::move(*workspace.lastDiscard);
        workspace.lastDiscard.reset();
        workspace.isUndoing = true;
        workspace.restoringDiscard = record;
        return AppEffect::write("undo", writeLane(workspace.path),
                                [repository, path = workspace.path, record = std::move(record)](
                                    AppEffect::Send send, std::stop_token) {
            try {
                send(WorkspaceAction::Restored{
                    repository->restoreSnapshot(path, record.reference, record.paths, std::stop_token())});
            } catch (...) {
                send(WorkspaceAction::UndoFailed{ErrorText::describe(std::current_exception())});
            }
        });
    }
    const core::BranchStatus& branch = workspace.status.branch;
    if (!branch.objectID) return showToast(state, core::Text::toastNothingToUndo(), false);
    if (branch.upstream && branch.ahead < 1) return showToast(state, core::Text::toastUndoNotAllowed(), false);
    workspace.isUndoing = true;
    return AppEffect::write("undo", writeLane(workspace.path), [repository, path = workspace.path](
                                                                  AppEffect::Send send, std::stop_token) {
        try {
            send(WorkspaceAction::UndoneCommit{repository->undoLastCommit(path, std::stop_token())});
        } catch (...) {
            send(WorkspaceAction::UndoFailed{ErrorText::describe(std::current_exception())});
        }
    });
}

AppEffect AppReducer::restored(AppState& state, const core::SnapshotRestore& outcome) const {
    WorkspaceState& workspace = *state.workspace;
    workspace.isUndoing = false;
    workspace.restoringDiscard.reset();
    if (outcome.keptEdits) {
        // The undo wrote over edits made after the discard; they are safe in
        // a recovery point, and the user is told where.
        state.overlay = Overlay::message(core::Text::undoKeptEditsTitle(),
                                         core::Text::raw(keptEditsBody(state.language, outcome)));
        return reloadStatus(workspace);
    }
    AppEffect toast = showToast(state, core::Text::toastRestored(), false);
    return AppEffect::merge(std::move(toast), reloadStatus(workspace));
}

AppEffect AppReducer::undoneCommit(AppState& state, const core::CommitMessage& message) const {
    WorkspaceState& workspace = *state.workspace;
    workspace.isUndoing = false;
    workspace.summary.setText(message.summary);
    workspace.description.setText(message.description);
    workspace.tab = WorkspaceTab::changes;
    workspace.focus = WorkspaceFocus::files;
    AppEffect toast = showToast(state, core::Text::toastUndoneCommit(), false);
    return AppEffect::merge(std::move(toast), reloadStatus(workspace), loadHistory(workspace.path, 0));
}

AppEffect AppReducer::undoFailed(AppState& state, const std::string& message) const {
    WorkspaceState& workspace = *state.workspace;
    workspace.isUndoing = false;
    // The snapshot is still there: keep the record so that undo can try
    // again, unless a newer discard has taken its place meanwhile.
    // What it restored stays, and `u` runs it again to the end.
    const bool restoring = workspace.restoringDiscard && !workspace.lastDiscard;
    if (restoring) workspace.lastDiscard = workspace.restoringDiscard;
    workspace.restoringDiscard.reset();
    state.overlay = Overlay::message(restoring ? core::Text::undoUnfinished() : core::Text::errorTitle(),
                                     core::Text::raw(message));
    if (restoring) return reloadStatus(workspace);
    return AppEffect::none();
}

AppEffect AppReducer::ignore(WorkspaceState& workspace, core::FileChange file) const {
    return AppEffect::write("ignore", writeLane(workspace.path),
                            [repository = dependencies_.repository, path = workspace.path,
                             file = std::move(file)](AppEffect::Send send, std::stop_token) {
        try {
            repository->ignore(path, file, std::stop_token());
            send(WorkspaceAction::Ignored{file.path, file.kind != core::ChangeKind::untracked});
        } catch (...) {
            send(WorkspaceAction::IgnoreFailed{ErrorText::describe(std::current_exception())});
        }
    });
}

AppEffect AppReducer::ignored(AppState& state, const std::string& path, bool wasTracked) const {
    const std::string name = lastComponent(path);
    AppEffect toast = showToast(state, wasTracked ? core::Text::toastIgnoredUntracked(name) : core::Text::toastIgnored(name),
                                false);
    return AppEffect::merge(std::move(toast), reloadStatus(*state.workspace));
}

}  // namespace tarv::features
