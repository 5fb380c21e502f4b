// The workspace arm of the root reducer: one exhaustive dispatch of every
// workspace action to the member that handles it. Short arms that only set
// a field or open a message are written here; everything with rules of its
// own lives with its feature (Status, Loading, Navigation, Changes, Commit,
// LineStaging, Conflicts, History), and the arms of branches and operations
// and of sync belong to their groups.
#include <utility>
#include <variant>

#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {

namespace {

using WA = WorkspaceAction;

// The message overlay every failed operation of this group opens.
AppEffect showError(AppState& state, const std::string& message) {
    state.overlay = Overlay::message(core::Text::errorTitle(), core::Text::raw(message));
    return AppEffect::none();
}

// The diff pane of the visible tab.
DiffViewState& activeDiff(WorkspaceState& workspace) {
    return workspace.tab == WorkspaceTab::history ? workspace.history.diff : workspace.changes.diff;
}

// Each case has its own overload and there is no catch-all, so a case added
// to WorkspaceAction does not compile until it is handled here.
struct Dispatch {
    const AppReducer& reducer;
    AppState& state;
    WorkspaceState& workspace;

    // ---- Loading results ----------------------------------------------
    AppEffect operator()(WA::StatusLoaded& a) {
        AppEffect merged = reducer.statusLoaded(workspace, std::move(a.status));
        return AppEffect::merge(std::move(merged), reducer.readOpeningRest(workspace),
                                reducer.refreshChecks(state, false));
    }
    AppEffect operator()(WA::StatusFailed& a) {
        workspace.isStatusLoaded = true;
        workspace.isRefreshing = false;
        return AppEffect::merge(reducer.showToast(state, core::Text::raw(std::move(a.message)), true),
                                reducer.readOpeningRest(workspace));
    }
    AppEffect operator()(WA::StatusOverdue&) { return reducer.readOpeningRest(workspace); }
    AppEffect operator()(WA::FilesChanged&) { return reducer.filesChanged(workspace); }
    AppEffect operator()(WA::BranchesLoaded& a) {
        workspace.branches = std::move(a.branches);
        return AppEffect::none();
    }
    AppEffect operator()(WA::RemoteLoaded& a) { return reducer.remoteLoaded(state, std::move(a.url)); }
    AppEffect operator()(WA::StashesLoaded& a) {
        workspace.stashes = std::move(a.entries);
        if (state.overlay && state.overlay->kind() == Overlay::Kind::stashes) {
            state.overlay = StashPickerState(workspace.stashes);
        }
        return AppEffect::none();
    }
    AppEffect operator()(WA::TagsLoaded& a) {
        workspace.tags = std::move(a.tags);
        if (state.overlay && state.overlay->kind() == Overlay::Kind::tags) state.overlay = TagPickerState(workspace.tags);
        return AppEffect::none();
    }
    AppEffect operator()(WA::WorktreesLoaded& a) {
        reducer.worktreesLoaded(state, std::move(a.worktrees));
        return AppEffect::none();
    }
    AppEffect operator()(WA::HistoryLoaded& a) {
        return reducer.historyLoaded(workspace, std::move(a.commits), a.skip);
    }
    AppEffect operator()(WA::HistoryFailed&) {
        workspace.history.isLoading = false;
        return AppEffect::none();
    }
    AppEffect operator()(WA::CommitFilesLoaded& a) {
        return reducer.commitFilesLoaded(workspace, a.sha, std::move(a.files));
    }
    AppEffect operator()(WA::CommitFilesFailed& a) {
        HistoryState& history = workspace.history;
        const core::Commit* selected = history.selectedCommit();
        if (!selected || selected->sha != a.sha) return AppEffect::none();
        history.isLoadingFiles = false;
        history.filesError = std::move(a.message);
        return AppEffect::none();
    }
    AppEffect operator()(WA::CommitDiffLoaded& a) {
        reducer.commitDiffLoaded(workspace, a.sha, a.path, std::move(a.diff));
        return AppEffect::none();
    }
    AppEffect operator()(WA::CommitDiffFailed& a) {
        const HistoryState& history = workspace.history;
        const core::Commit* selected = history.selectedCommit();
        if (!selected || selected->sha != a.sha || history.selectedFilePath != a.path) return AppEffect::none();
        workspace.history.diff.isLoading = false;
        workspace.history.diff.error = std::move(a.message);
        return AppEffect::none();
    }
    AppEffect operator()(WA::DiffLoaded& a) { return reducer.diffLoaded(state, a.path, std::move(a.diff)); }
    AppEffect operator()(WA::DiffFailed& a) {
        DiffViewState& diff = workspace.changes.diff;
        if (diff.path != a.path) return AppEffect::none();
        diff.isLoading = false;
        diff.error = std::move(a.message);
        return AppEffect::none();
    }
    AppEffect operator()(WA::ConflictLoaded& a) {
        reducer.conflictLoaded(workspace, a.path, std::move(a.document), a.fingerprint);
        return AppEffect::none();
    }
    AppEffect operator()(WA::ChecksLoaded& a) {
        if (workspace.sync.checksKey == a.key) workspace.sync.checks = std::move(a.checks);
        return AppEffect::none();
    }
    AppEffect operator()(WA::AmendMessageLoaded& a) {
        reducer.amendMessageLoaded(workspace, a.message);
        return AppEffect::none();
    }
    AppEffect operator()(WA::MergeMessageLoaded& a) {
        reducer.mergeMessageLoaded(workspace, a.text);
        return AppEffect::none();
    }

    // ---- Navigation and selection -------------------------------------
    AppEffect operator()(WA::SetTab& a) { return reducer.setTab(workspace, a.tab); }
    AppEffect operator()(WA::Focus& a) {
        workspace.focus = a.focus;
        if (a.focus != WorkspaceFocus::files) workspace.changes.isFilterFocused = false;
        return AppEffect::none();
    }
    AppEffect operator()(WA::CycleFocus& a) {
        reducer.cycleFocus(workspace, a.reverse);
        return AppEffect::none();
    }
    AppEffect operator()(WA::Scroll& a) { return reducer.scroll(workspace, a.pane, a.by); }
    AppEffect operator()(WA::ScrollDiffHorizontally& a) {
        activeDiff(workspace).scrollHorizontally(a.by);
        return AppEffect::none();
    }
    AppEffect operator()(WA::BeginDiffTextSelection& a) {
        activeDiff(workspace).textSelection = DiffTextSelection{a.point, a.point};
        return AppEffect::none();
    }
    AppEffect operator()(WA::ExtendDiffTextSelection& a) {
        auto& selection = activeDiff(workspace).textSelection;
        if (selection && selection->anchor.side == a.point.side) selection->head = a.point;
        return AppEffect::none();
    }
    AppEffect operator()(WA::EndDiffTextSelection& a) { return reducer.endDiffTextSelection(state, a.copying); }
    AppEffect operator()(WA::SelectFile& a) { return reducer.selectFile(workspace, a.path); }
    AppEffect operator()(WA::MoveFileSelection& a) { return reducer.moveFileSelection(workspace, a.by); }
    AppEffect operator()(WA::SetFilterFocused& a) {
        workspace.changes.isFilterFocused = a.focused;
        if (a.focused) workspace.focus = WorkspaceFocus::files;
        return AppEffect::none();
    }
    AppEffect operator()(WA::MoveDiffCursor& a) {
        if (workspace.changes.activeConflict(workspace.status)) {
            reducer.scrollConflict(workspace, a.by);
        } else {
            workspace.changes.diff.moveCursor(a.by, workspace.viewports.diff);
        }
        return AppEffect::none();
    }
    AppEffect operator()(WA::MoveDiffCursorTo& a) {
        if (workspace.changes.activeConflict(workspace.status)) {
            reducer.scrollConflictTo(workspace, a.row);
        } else {
            workspace.changes.diff.moveCursorTo(a.row, workspace.viewports.diff);
        }
        return AppEffect::none();
    }
    AppEffect operator()(WA::SelectCommit& a) { return reducer.selectCommit(workspace, a.row); }
    AppEffect operator()(WA::MoveCommitSelection& a) { return reducer.moveCommitSelection(workspace, a.by); }
    AppEffect operator()(WA::SelectCommitFile& a) { return reducer.selectCommitFile(workspace, a.row); }
    AppEffect operator()(WA::MoveCommitFileSelection& a) { return reducer.moveCommitFileSelection(workspace, a.by); }
    AppEffect operator()(WA::MoveConflictCursor& a) {
        reducer.moveConflictCursor(workspace, a.by);
        return AppEffect::none();
    }

    // ---- Inclusion and line selection ---------------------------------
    AppEffect operator()(WA::ToggleInclude& a) {
        reducer.toggleInclude(workspace, a.path);
        return AppEffect::none();
    }
    AppEffect operator()(WA::ToggleAll&) {
        reducer.toggleAll(workspace);
        return AppEffect::none();
    }
    AppEffect operator()(WA::ToggleLine& a) {
        reducer.toggleLine(workspace, a.line);
        return AppEffect::none();
    }
    AppEffect operator()(WA::ToggleHunk& a) {
        reducer.toggleHunk(workspace, a.hunk);
        return AppEffect::none();
    }
    AppEffect operator()(WA::SetLineRange& a) {
        reducer.setLineRange(workspace, a.from, a.to, a.selected);
        return AppEffect::none();
    }
    AppEffect operator()(WA::ToggleCursorLine&) {
        reducer.toggleAtCursor(workspace, false);
        return AppEffect::none();
    }
    AppEffect operator()(WA::ToggleCursorHunk&) {
        reducer.toggleAtCursor(workspace, true);
        return AppEffect::none();
    }

    // ---- Commit and amend ---------------------------------------------
    AppEffect operator()(WA::Commit&) { return reducer.commit(workspace); }
    AppEffect operator()(WA::Committed& a) { return reducer.committed(state, a.summary, false); }
    AppEffect operator()(WA::Amended& a) { return reducer.committed(state, a.summary, true); }
    AppEffect operator()(WA::CommitFailed& a) { return reducer.commitFailed(state, std::move(a.text)); }
    AppEffect operator()(WA::BeginAmend&) { return reducer.beginAmend(state); }
    AppEffect operator()(WA::CancelAmend&) {
        reducer.cancelAmend(workspace);
        return AppEffect::none();
    }

    // ---- Discard, undo and ignore -------------------------------------
    AppEffect operator()(WA::DiscardConfirmed& a) { return reducer.discard(state, std::move(a.files)); }
    AppEffect operator()(WA::Discarded& a) {
        workspace.lastDiscard = std::move(a.record);
        const core::Text said =
            a.submodulesKept ? core::Text::toastDiscardedSubmodulesKept() : core::Text::toastDiscarded();
        AppEffect toast = reducer.showToast(state, said, false);
        return AppEffect::merge(std::move(toast), reducer.reloadStatus(workspace));
    }
    AppEffect operator()(WA::DiscardFailed& a) {
        // Half-way: the snapshot holds what is already gone, so undo is kept
        // for it and the list shows what the discard did.
        if (!a.record) return showError(state, a.message);
        workspace.lastDiscard = std::move(a.record);
        AppEffect error = showError(state, a.message);
        return AppEffect::merge(std::move(error), reducer.reloadStatus(workspace));
    }
    AppEffect operator()(WA::Undo&) { return reducer.undo(state); }
    AppEffect operator()(WA::Restored& a) { return reducer.restored(state, a.outcome); }
    AppEffect operator()(WA::UndoneCommit& a) { return reducer.undoneCommit(state, a.message); }
    AppEffect operator()(WA::UndoFailed& a) { return reducer.undoFailed(state, a.message); }
    AppEffect operator()(WA::Ignore& a) { return reducer.ignore(workspace, std::move(a.file)); }
    AppEffect operator()(WA::Ignored& a) { return reducer.ignored(state, a.path, a.wasTracked); }
    AppEffect operator()(WA::IgnoreFailed& a) { return showError(state, a.message); }

    // ---- Conflicts ----------------------------------------------------
    AppEffect operator()(WA::ChooseConflict& a) { return reducer.chooseConflict(workspace, a.block, a.choice); }
    AppEffect operator()(WA::ResolveConflict& a) { return reducer.resolveConflict(workspace, a.path, a.resolution); }
    AppEffect operator()(WA::MarkResolved& a) { return reducer.markResolved(workspace, a.path); }
    AppEffect operator()(WA::ConflictHandled&) { return reducer.conflictHandled(state); }
    AppEffect operator()(WA::OperationFailed& a) { return reducer.operationFailed(state, a.message); }

    // ---- Sync (Sync/) -------------------------------------------------
    AppEffect operator()(WA::Sync& a) { return reducer.sync(state, a.action); }
    // Ends with a forced reload of the current branch's checks.
    AppEffect operator()(WA::SyncFinished& a) { return reducer.syncFinished(state, a.action, a.silent); }
    AppEffect operator()(WA::SyncFailed& a) {
        return reducer.syncFailed(state, a.action, a.failure, a.message, a.silent);
    }
    AppEffect operator()(WA::AutoFetchTick&) { return reducer.autoFetchTick(state); }

    // ---- Branches, tags, merges, history operations, stashes, worktrees --
    AppEffect operator()(WA::WorktreeChanged& a) { return reducer.worktreeChanged(state, std::move(a.text)); }
    AppEffect operator()(WA::CreateTag& a) { return reducer.createTag(state, a.name, a.at); }
    AppEffect operator()(WA::StashOperationDone& a) { return reducer.stashOperationDone(state, std::move(a.text)); }
    AppEffect operator()(WA::StashOperationFailed& a) { return reducer.stashOperationFailed(state, a.message); }
    AppEffect operator()(WA::Merge& a) { return reducer.merge(state, a.branch); }
    AppEffect operator()(WA::MergeFinished& a) { return reducer.mergeFinished(state, a.branch, a.result); }
    AppEffect operator()(WA::MergeFailed& a) { return reducer.mergeFailed(state, a.message); }
    AppEffect operator()(WA::Revert& a) { return reducer.revert(state, a.commit); }
    AppEffect operator()(WA::CherryPick& a) { return reducer.cherryPick(state, a.commit); }
    AppEffect operator()(WA::Reset& a) { return reducer.reset(state, a.commit, a.mode); }
    AppEffect operator()(WA::EditHistory& a) { return reducer.editHistory(state, a.edit); }
    AppEffect operator()(WA::Rebase& a) { return reducer.rebase(state, a.onto); }
    AppEffect operator()(WA::ContinueOperation&) { return reducer.continueOperation(state); }
    AppEffect operator()(WA::AbortOperation&) { return reducer.abortOperation(state); }
    AppEffect operator()(WA::OperationAborted&) { return reducer.operationAborted(state); }
    AppEffect operator()(WA::OperationFinished& a) { return reducer.finish(state, a.kind, a.result); }
    AppEffect operator()(WA::RenameBranch& a) { return reducer.renameBranch(state, a.from, a.to); }
    AppEffect operator()(WA::DeleteBranch& a) { return reducer.deleteBranch(state, a.name, a.force); }
    AppEffect operator()(WA::DeleteNeedsForce& a) { return reducer.deleteNeedsForce(state, a.branch); }
    AppEffect operator()(WA::SwitchBranch& a) { return reducer.switchBranch(state, a.branch); }
    AppEffect operator()(WA::CreateBranch& a) { return reducer.createBranch(state, a.name, a.from); }
    AppEffect operator()(WA::BranchOperationDone& a) { return reducer.branchOperationDone(state, std::move(a.text)); }
    AppEffect operator()(WA::BranchOperationFailed& a) { return reducer.branchOperationFailed(state, a.message); }
};

}  // namespace

AppEffect AppReducer::reduceWorkspace(AppState& state, WorkspaceAction action) const {
    if (!state.workspace) return AppEffect::none();
    return std::visit(Dispatch{*this, state, *state.workspace}, action.value);
}

}  // namespace tarv::features
