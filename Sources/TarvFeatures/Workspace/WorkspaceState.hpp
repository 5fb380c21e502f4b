#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "TarvCore/Models/Branch.hpp"
#include "TarvCore/Models/CoAuthor.hpp"
#include "TarvCore/Models/EditableText.hpp"
#include "TarvCore/Models/StashEntry.hpp"
#include "TarvCore/Models/Tag.hpp"
#include "TarvCore/Models/WorkingTreeStatus.hpp"
#include "TarvCore/Rules/SyncContext.hpp"
#include "TarvFeatures/Changes/ChangesState.hpp"
#include "TarvFeatures/History/HistoryState.hpp"
#include "TarvFeatures/Sync/SyncState.hpp"
#include "TarvFeatures/Workspace/DiscardRecord.hpp"
#include "TarvFeatures/Workspace/Viewports.hpp"
#include "TarvFeatures/Workspace/WorkspaceFocus.hpp"
#include "TarvFeatures/Workspace/WorkspaceTab.hpp"

namespace tarv::features {

// The one open repository: its identity, the last status read, the Changes
// and History tabs, the commit message being written, the branch, stash and
// tag lists, the sync state, the last discard and the pane sizes.
//
// Only the reducer writes it, in place; the screens read it. It is large
// (whole diffs, file and commit lists): pass it by reference, never copy or
// compare it on a path that runs per key or per frame.
//
// Invariants kept by the reducer: `focus` belongs to the visible `tab`;
// `status.files`, `changes.knownPaths` and `changes.included` agree after
// every status.
struct WorkspaceState {
    using Tab = WorkspaceTab;
    using Focus = WorkspaceFocus;

    // Absolute path of the working tree; every port call of this workspace
    // passes it.
    std::string path;
    // Display name (opening passes the last path component).
    std::string name;
    // None when the repository has no remote.
    std::optional<std::string> remoteURL;
    Tab tab = Tab::changes;
    Focus focus = Focus::files;
    core::WorkingTreeStatus status;
    // A status has been received at least once.
    bool isStatusLoaded = false;
    // A status read (job "status") runs.
    bool isRefreshing = false;
    // A change was reported during that read: read again when it ends.
    bool refreshQueued = false;
    // The reads that wait for the first status have been asked for
    // (AppReducer::readOpeningRest).
    bool openingRestRead = false;
    ChangesState changes;
    HistoryState history;
    std::vector<core::Branch> branches;
    std::vector<core::StashEntry> stashes;
    std::vector<core::Tag> tags;
    // The summary the program filled in itself (from a pending merge
    // message), to tell it from one the user typed.
    std::optional<std::string> autoSummary;
    core::EditableText summary{"", false};
    core::EditableText description{"", true};
    // A commit or amend job runs.
    bool isCommitting = false;
    // Side-by-side diffs chosen; new diff views start with it.
    bool splitDiff = false;
    // Co-authors for the next commit's trailers.
    std::vector<core::CoAuthor> coAuthors;
    // The next commit amends HEAD.
    bool isAmending = false;
    // Target branch kept for the feature flows; the workspace reducer only
    // carries it.
    std::optional<std::string> branchTarget;
    SyncState sync;
    // What the last discard saved, for undo.
    std::optional<DiscardRecord> lastDiscard;
    // An undo job runs: a second undo is refused until it reports, so a
    // quick double press neither restores twice nor undoes a commit.
    bool isUndoing = false;
    // The discard that the running undo restores; it becomes `lastDiscard`
    // again when the restore fails, so the user can try once more.
    std::optional<DiscardRecord> restoringDiscard;
    // A stash job runs (stash, restore or drop) and the stash list has not
    // been read again after it: the picker's references may be stale, so a
    // restore or drop waits until the job reports.
    bool isStashing = false;
    Viewports viewports;

    WorkspaceState(std::string path, std::string name, std::optional<std::string> remoteURL);

    // Whether the commit button works. During a rebase, cherry-pick or
    // revert: when no conflicted file is left and no commit runs (summary and
    // included files do not matter). Otherwise (nothing in progress, or a
    // merge): a summary that is not blank, at least one included file unless
    // amending, no commit running, and during a merge no conflicted file.
    bool canCommit() const;
    // Only a commit that has not been pushed can be undone: HEAD is known and
    // there is no upstream or the branch is ahead of it.
    bool canUndoCommit() const;
    // The branch name; "HEAD" when detached or not yet known.
    std::string currentBranch() const;
    bool hasRemote() const { return remoteURL.has_value(); }
    // The sync button's view of the branch; `now` is 0 (the workspace holds
    // no clock reading) and the remote is "origin".
    core::SyncContext syncContext() const;
    // The number of files the next commit includes, wholly or partly.
    std::int64_t includedCount() const;
    // An operation is in progress and at least one file is conflicted.
    bool hasUnresolvedConflicts() const;

    // Special members and equality are compiled once, in the .cpp.
    WorkspaceState(const WorkspaceState&);
    WorkspaceState(WorkspaceState&&) noexcept;
    WorkspaceState& operator=(const WorkspaceState&);
    WorkspaceState& operator=(WorkspaceState&&) noexcept;
    ~WorkspaceState();
    bool operator==(const WorkspaceState&) const;
};

}  // namespace tarv::features
