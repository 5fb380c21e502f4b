#include "TarvFeatures/Workspace/WorkspaceAction.hpp"

namespace tarv::features {

static_assert(std::variant_size_v<WorkspaceAction::Value> == 94);

// With ninety-four cases, building a case in place makes the compiler
// generate one step per case before it. Every way into the variant here (the
// case constructors, copies, assignments) therefore goes through the one
// path that moves a case in, so those steps are generated once, in this file.

template <CaseOf<WorkspaceAction::Value> Case>
WorkspaceAction::WorkspaceAction(Case action) : value(std::in_place_type<Case>, std::move(action)) {}

template WorkspaceAction::WorkspaceAction(WorkspaceAction::StatusLoaded);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::StatusFailed);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::BranchesLoaded);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::RemoteLoaded);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::StashesLoaded);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::TagsLoaded);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::WorktreesLoaded);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::WorktreeChanged);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::CreateTag);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::StashOperationDone);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::StashOperationFailed);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::SetTab);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::Focus);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::CycleFocus);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::Scroll);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::ScrollDiffHorizontally);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::BeginDiffTextSelection);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::ExtendDiffTextSelection);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::EndDiffTextSelection);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::SelectFile);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::MoveFileSelection);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::ToggleInclude);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::SetFilterFocused);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::ToggleLine);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::ToggleHunk);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::SetLineRange);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::MoveDiffCursor);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::MoveDiffCursorTo);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::DiffLoaded);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::DiffFailed);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::Committed);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::CommitFailed);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::AmendMessageLoaded);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::Amended);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::DiscardConfirmed);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::Ignore);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::Ignored);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::IgnoreFailed);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::Discarded);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::DiscardFailed);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::UndoneCommit);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::UndoFailed);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::HistoryLoaded);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::HistoryFailed);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::SelectCommit);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::MoveCommitSelection);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::CommitFilesLoaded);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::CommitFilesFailed);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::SelectCommitFile);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::MoveCommitFileSelection);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::CommitDiffLoaded);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::CommitDiffFailed);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::Sync);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::SyncFinished);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::SyncFailed);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::ChecksLoaded);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::Merge);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::MergeFinished);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::MergeFailed);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::MergeMessageLoaded);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::Revert);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::CherryPick);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::Reset);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::EditHistory);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::Rebase);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::OperationFinished);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::OperationFailed);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::ResolveConflict);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::MarkResolved);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::ConflictLoaded);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::ChooseConflict);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::MoveConflictCursor);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::RenameBranch);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::DeleteBranch);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::DeleteNeedsForce);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::SwitchBranch);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::CreateBranch);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::BranchOperationDone);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::BranchOperationFailed);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::FilesChanged);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::ToggleAll);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::ToggleCursorLine);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::ToggleCursorHunk);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::Commit);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::BeginAmend);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::CancelAmend);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::Undo);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::Restored);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::AutoFetchTick);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::StatusOverdue);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::AbortOperation);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::OperationAborted);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::ContinueOperation);
template WorkspaceAction::WorkspaceAction(WorkspaceAction::ConflictHandled);

WorkspaceAction::WorkspaceAction(const WorkspaceAction& other) : value(copyThroughMove(other.value)) {}
WorkspaceAction::WorkspaceAction(WorkspaceAction&&) noexcept = default;
WorkspaceAction& WorkspaceAction::operator=(const WorkspaceAction& other) {
    if (this != &other) value = copyThroughMove(other.value);
    return *this;
}
WorkspaceAction& WorkspaceAction::operator=(WorkspaceAction&&) noexcept = default;
WorkspaceAction::~WorkspaceAction() = default;
bool WorkspaceAction::operator==(const WorkspaceAction& other) const {
    return value == other.value;
}

}  // namespace tarv::features
