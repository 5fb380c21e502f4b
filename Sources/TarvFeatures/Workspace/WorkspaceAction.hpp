#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "TarvCore/Errors/RemoteFailure.hpp"
#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/Branch.hpp"
#include "TarvCore/Models/CheckSummary.hpp"
#include "TarvCore/Models/Commit.hpp"
#include "TarvCore/Models/CommitFile.hpp"
#include "TarvCore/Models/CommitMessage.hpp"
#include "TarvCore/Models/ConflictChoice.hpp"
#include "TarvCore/Models/ConflictDocument.hpp"
#include "TarvCore/Models/ConflictResolution.hpp"
#include "TarvCore/Models/Diff.hpp"
#include "TarvCore/Models/FileChange.hpp"
#include "TarvCore/Models/HistoryEdit.hpp"
#include "TarvCore/Models/LineRef.hpp"
#include "TarvCore/Models/MergeResult.hpp"
#include "TarvCore/Models/OperationResult.hpp"
#include "TarvCore/Models/ResetMode.hpp"
#include "TarvCore/Models/SnapshotRestore.hpp"
#include "TarvCore/Models/StashEntry.hpp"
#include "TarvCore/Models/Tag.hpp"
#include "TarvCore/Models/WorkingTreeStatus.hpp"
#include "TarvCore/Models/Worktree.hpp"
#include "TarvCore/Rules/SyncAction.hpp"
#include "TarvFeatures/Architecture/VariantCase.hpp"
#include "TarvFeatures/Diff/DiffTextPoint.hpp"
#include "TarvFeatures/Workspace/DiscardRecord.hpp"
#include "TarvFeatures/Workspace/Pane.hpp"
#include "TarvFeatures/Workspace/ReplayKind.hpp"
#include "TarvFeatures/Workspace/WorkspaceFocus.hpp"
#include "TarvFeatures/Workspace/WorkspaceTab.hpp"

namespace tarv::features {

// Everything that happens to the open repository: the results its jobs
// report, the gestures the input routing turns into workspace changes, and
// the workspace commands. Each case is a struct named after it, its payload
// in named members:
//   WorkspaceAction{WorkspaceAction::StatusLoaded{status}}
//   AppAction{WorkspaceAction::Scroll{Pane::diff, 3}}  (straight into an application action)
// Core types are spelled `core::` here because some cases share their names
// (`Commit`, `Merge`).
struct WorkspaceAction {
    struct StatusLoaded {
        core::WorkingTreeStatus status;
        bool operator==(const StatusLoaded&) const = default;
    };
    struct StatusFailed {
        std::string message;
        bool operator==(const StatusFailed&) const = default;
    };
    struct BranchesLoaded {
        std::vector<core::Branch> branches;
        bool operator==(const BranchesLoaded&) const = default;
    };
    // The remote's URL; none when the repository has no remote.
    struct RemoteLoaded {
        std::optional<std::string> url;
        bool operator==(const RemoteLoaded&) const = default;
    };
    struct StashesLoaded {
        std::vector<core::StashEntry> entries;
        bool operator==(const StashesLoaded&) const = default;
    };
    struct TagsLoaded {
        std::vector<core::Tag> tags;
        bool operator==(const TagsLoaded&) const = default;
    };
    struct WorktreesLoaded {
        std::vector<core::Worktree> worktrees;
        bool operator==(const WorktreesLoaded&) const = default;
    };
    struct WorktreeChanged {
        core::Text text;
        bool operator==(const WorktreeChanged&) const = default;
    };
    // `at`: the commit to tag.
    struct CreateTag {
        std::string name;
        std::string at;
        bool operator==(const CreateTag&) const = default;
    };
    struct StashOperationDone {
        core::Text text;
        bool operator==(const StashOperationDone&) const = default;
    };
    struct StashOperationFailed {
        std::string message;
        bool operator==(const StashOperationFailed&) const = default;
    };
    struct SetTab {
        WorkspaceTab tab = WorkspaceTab::changes;
        bool operator==(const SetTab&) const = default;
    };
    struct Focus {
        WorkspaceFocus focus = WorkspaceFocus::files;
        bool operator==(const Focus&) const = default;
    };
    struct CycleFocus {
        bool reverse = false;
        bool operator==(const CycleFocus&) const = default;
    };
    struct Scroll {
        Pane pane = Pane::files;
        std::int64_t by = 0;
        bool operator==(const Scroll&) const = default;
    };
    struct ScrollDiffHorizontally {
        std::int64_t by = 0;
        bool operator==(const ScrollDiffHorizontally&) const = default;
    };
    struct BeginDiffTextSelection {
        DiffTextPoint point;
        bool operator==(const BeginDiffTextSelection&) const = default;
    };
    struct ExtendDiffTextSelection {
        DiffTextPoint point;
        bool operator==(const ExtendDiffTextSelection&) const = default;
    };
    // The selected text to copy; none or empty clears the selection.
    struct EndDiffTextSelection {
        std::optional<std::string> copying;
        bool operator==(const EndDiffTextSelection&) const = default;
    };
    struct SelectFile {
        std::string path;
        bool operator==(const SelectFile&) const = default;
    };
    struct MoveFileSelection {
        std::int64_t by = 0;
        bool operator==(const MoveFileSelection&) const = default;
    };
    struct ToggleInclude {
        std::string path;
        bool operator==(const ToggleInclude&) const = default;
    };
    struct SetFilterFocused {
        bool focused = false;
        bool operator==(const SetFilterFocused&) const = default;
    };
    struct ToggleLine {
        core::LineRef line;
        bool operator==(const ToggleLine&) const = default;
    };
    // The hunk's index.
    struct ToggleHunk {
        std::int64_t hunk = 0;
        bool operator==(const ToggleHunk&) const = default;
    };
    struct SetLineRange {
        core::LineRef from;
        core::LineRef to;
        bool selected = false;
        bool operator==(const SetLineRange&) const = default;
    };
    struct MoveDiffCursor {
        std::int64_t by = 0;
        bool operator==(const MoveDiffCursor&) const = default;
    };
    struct MoveDiffCursorTo {
        std::int64_t row = 0;
        bool operator==(const MoveDiffCursorTo&) const = default;
    };
    struct DiffLoaded {
        std::string path;
        core::Diff diff;
        bool operator==(const DiffLoaded&) const = default;
    };
    struct DiffFailed {
        std::string path;
        std::string message;
        bool operator==(const DiffFailed&) const = default;
    };
    struct Committed {
        std::string summary;
        bool operator==(const Committed&) const = default;
    };
    struct CommitFailed {
        core::Text text;
        bool operator==(const CommitFailed&) const = default;
    };
    struct AmendMessageLoaded {
        core::CommitMessage message;
        bool operator==(const AmendMessageLoaded&) const = default;
    };
    struct Amended {
        std::string summary;
        bool operator==(const Amended&) const = default;
    };
    struct DiscardConfirmed {
        std::vector<core::FileChange> files;
        bool operator==(const DiscardConfirmed&) const = default;
    };
    struct Ignore {
        core::FileChange file;
        bool operator==(const Ignore&) const = default;
    };
    struct Ignored {
        std::string path;
        bool wasTracked = false;
        bool operator==(const Ignored&) const = default;
    };
    struct IgnoreFailed {
        std::string message;
        bool operator==(const IgnoreFailed&) const = default;
    };
    struct Discarded {
        DiscardRecord record;
        // Submodules were among the chosen files and were left as they were.
        bool submodulesKept = false;
        bool operator==(const Discarded&) const = default;
    };
    struct DiscardFailed {
        std::string message;
        // The snapshot of a discard that failed half-way: undo restores it.
        std::optional<DiscardRecord> record = std::nullopt;
        bool operator==(const DiscardFailed&) const = default;
    };
    struct UndoneCommit {
        core::CommitMessage message;
        bool operator==(const UndoneCommit&) const = default;
    };
    struct UndoFailed {
        std::string message;
        bool operator==(const UndoFailed&) const = default;
    };
    struct HistoryLoaded {
        std::vector<core::Commit> commits;
        std::int64_t skip = 0;
        bool operator==(const HistoryLoaded&) const = default;
    };
    struct HistoryFailed {
        std::string message;
        bool operator==(const HistoryFailed&) const = default;
    };
    struct SelectCommit {
        std::int64_t row = 0;
        bool operator==(const SelectCommit&) const = default;
    };
    struct MoveCommitSelection {
        std::int64_t by = 0;
        bool operator==(const MoveCommitSelection&) const = default;
    };
    struct CommitFilesLoaded {
        std::string sha;
        std::vector<core::CommitFile> files;
        bool operator==(const CommitFilesLoaded&) const = default;
    };
    struct CommitFilesFailed {
        std::string sha;
        std::string message;
        bool operator==(const CommitFilesFailed&) const = default;
    };
    struct SelectCommitFile {
        std::int64_t row = 0;
        bool operator==(const SelectCommitFile&) const = default;
    };
    struct MoveCommitFileSelection {
        std::int64_t by = 0;
        bool operator==(const MoveCommitFileSelection&) const = default;
    };
    struct CommitDiffLoaded {
        std::string sha;
        std::string path;
        core::Diff diff;
        bool operator==(const CommitDiffLoaded&) const = default;
    };
    struct CommitDiffFailed {
        std::string sha;
        std::string path;
        std::string message;
        bool operator==(const CommitDiffFailed&) const = default;
    };
    struct Sync {
        core::SyncAction action = core::SyncAction::fetch;
        bool operator==(const Sync&) const = default;
    };
    struct SyncFinished {
        core::SyncAction action = core::SyncAction::fetch;
        bool silent = false;
        bool operator==(const SyncFinished&) const = default;
    };
    // `failure`: the classified remote failure, when there is one.
    struct SyncFailed {
        core::SyncAction action = core::SyncAction::fetch;
        std::optional<core::RemoteFailure> failure;
        std::string message;
        bool silent = false;
        bool operator==(const SyncFailed&) const = default;
    };
    struct ChecksLoaded {
        std::string key;
        core::CheckSummary checks;
        bool operator==(const ChecksLoaded&) const = default;
    };
    struct Merge {
        std::string branch;
        bool operator==(const Merge&) const = default;
    };
    struct MergeFinished {
        std::string branch;
        core::MergeResult result;
        bool operator==(const MergeFinished&) const = default;
    };
    struct MergeFailed {
        std::string message;
        bool operator==(const MergeFailed&) const = default;
    };
    struct MergeMessageLoaded {
        std::string text;
        bool operator==(const MergeMessageLoaded&) const = default;
    };
    struct Revert {
        std::string commit;
        bool operator==(const Revert&) const = default;
    };
    struct CherryPick {
        std::string commit;
        bool operator==(const CherryPick&) const = default;
    };
    struct Reset {
        std::string commit;
        core::ResetMode mode = core::ResetMode::mixed;
        bool operator==(const Reset&) const = default;
    };
    struct EditHistory {
        core::HistoryEdit edit;
        bool operator==(const EditHistory&) const = default;
    };
    struct Rebase {
        std::string onto;
        bool operator==(const Rebase&) const = default;
    };
    struct OperationFinished {
        ReplayKind kind;
        core::OperationResult result;
        bool operator==(const OperationFinished&) const = default;
    };
    struct OperationFailed {
        std::string message;
        bool operator==(const OperationFailed&) const = default;
    };
    struct ResolveConflict {
        std::string path;
        core::ConflictResolution resolution = core::ConflictResolution::mine;
        bool operator==(const ResolveConflict&) const = default;
    };
    struct MarkResolved {
        std::string path;
        bool operator==(const MarkResolved&) const = default;
    };
    // `document`: none when the file holds no conflict document.
    // `fingerprint`: the conflictFingerprint of the bytes it was parsed from.
    struct ConflictLoaded {
        std::string path;
        std::optional<core::ConflictDocument> document;
        std::uint64_t fingerprint = 0;
        bool operator==(const ConflictLoaded&) const = default;
    };
    struct ChooseConflict {
        std::int64_t block = 0;
        core::ConflictChoice choice = core::ConflictChoice::current;
        bool operator==(const ChooseConflict&) const = default;
    };
    struct MoveConflictCursor {
        std::int64_t by = 0;
        bool operator==(const MoveConflictCursor&) const = default;
    };
    struct RenameBranch {
        std::string from;
        std::string to;
        bool operator==(const RenameBranch&) const = default;
    };
    struct DeleteBranch {
        std::string name;
        bool force = false;
        bool operator==(const DeleteBranch&) const = default;
    };
    struct DeleteNeedsForce {
        std::string branch;
        bool operator==(const DeleteNeedsForce&) const = default;
    };
    struct SwitchBranch {
        std::string branch;
        bool operator==(const SwitchBranch&) const = default;
    };
    // `from`: the start point; none means HEAD.
    struct CreateBranch {
        std::string name;
        std::optional<std::string> from;
        bool operator==(const CreateBranch&) const = default;
    };
    struct BranchOperationDone {
        core::Text text;
        bool operator==(const BranchOperationDone&) const = default;
    };
    struct BranchOperationFailed {
        std::string message;
        bool operator==(const BranchOperationFailed&) const = default;
    };

    // The cases without payload.
    struct FilesChanged {
        bool operator==(const FilesChanged&) const = default;
    };
    struct ToggleAll {
        bool operator==(const ToggleAll&) const = default;
    };
    struct ToggleCursorLine {
        bool operator==(const ToggleCursorLine&) const = default;
    };
    struct ToggleCursorHunk {
        bool operator==(const ToggleCursorHunk&) const = default;
    };
    struct Commit {
        bool operator==(const Commit&) const = default;
    };
    struct BeginAmend {
        bool operator==(const BeginAmend&) const = default;
    };
    struct CancelAmend {
        bool operator==(const CancelAmend&) const = default;
    };
    struct Undo {
        bool operator==(const Undo&) const = default;
    };
    struct Restored {
        // What the restore kept before writing: the later edits of the
        // discarded paths, when there were any.
        core::SnapshotRestore outcome = {};
        bool operator==(const Restored&) const = default;
    };
    struct AutoFetchTick {
        bool operator==(const AutoFetchTick&) const = default;
    };
    // The first status of an opening is still being read a while after
    // opening: the reads that wait for it start all the same.
    struct StatusOverdue {
        bool operator==(const StatusOverdue&) const = default;
    };
    struct AbortOperation {
        bool operator==(const AbortOperation&) const = default;
    };
    struct OperationAborted {
        bool operator==(const OperationAborted&) const = default;
    };
    struct ContinueOperation {
        bool operator==(const ContinueOperation&) const = default;
    };
    struct ConflictHandled {
        bool operator==(const ConflictHandled&) const = default;
    };

    using Value = std::variant<StatusLoaded, StatusFailed, BranchesLoaded, RemoteLoaded, StashesLoaded, TagsLoaded,
        WorktreesLoaded, WorktreeChanged, CreateTag, StashOperationDone, StashOperationFailed, SetTab, Focus,
        CycleFocus, Scroll, ScrollDiffHorizontally, BeginDiffTextSelection, ExtendDiffTextSelection,
        EndDiffTextSelection, SelectFile, MoveFileSelection, ToggleInclude, SetFilterFocused, ToggleLine, ToggleHunk,
        SetLineRange, MoveDiffCursor, MoveDiffCursorTo, DiffLoaded, DiffFailed, Committed, CommitFailed,
        AmendMessageLoaded, Amended, DiscardConfirmed, Ignore, Ignored, IgnoreFailed, Discarded, DiscardFailed,
        UndoneCommit, UndoFailed, HistoryLoaded, HistoryFailed, SelectCommit, MoveCommitSelection, CommitFilesLoaded,
        CommitFilesFailed, SelectCommitFile, MoveCommitFileSelection, CommitDiffLoaded, CommitDiffFailed, Sync, SyncFinished,
        SyncFailed, ChecksLoaded, Merge, MergeFinished, MergeFailed, MergeMessageLoaded, Revert, CherryPick, Reset,
        EditHistory, Rebase, OperationFinished, OperationFailed, ResolveConflict, MarkResolved, ConflictLoaded,
        ChooseConflict, MoveConflictCursor, RenameBranch, DeleteBranch, DeleteNeedsForce, SwitchBranch, CreateBranch,
        BranchOperationDone, BranchOperationFailed, FilesChanged, ToggleAll, ToggleCursorLine, ToggleCursorHunk,
        Commit, BeginAmend, CancelAmend, Undo, Restored, AutoFetchTick, AbortOperation, OperationAborted,
        ContinueOperation, ConflictHandled, StatusOverdue>;
    Value value;

    // Defined, for every case, in the .cpp: building one of the last cases
    // in place costs the compiler work for each case before it, which would
    // otherwise be repeated in every file that builds actions.
    template <CaseOf<Value> Case>
    WorkspaceAction(Case action);  // NOLINT: implicit on purpose

    // Special members and equality are compiled once, in the .cpp.
    WorkspaceAction(const WorkspaceAction&);
    WorkspaceAction(WorkspaceAction&&) noexcept;
    WorkspaceAction& operator=(const WorkspaceAction&);
    WorkspaceAction& operator=(WorkspaceAction&&) noexcept;
    ~WorkspaceAction();
    bool operator==(const WorkspaceAction&) const;
};

}  // namespace tarv::features
