#pragma once

#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/AppCommand.hpp"
#include "TarvCore/Models/CredentialPrompt.hpp"
#include "TarvCore/Models/FailureFix.hpp"
#include "TarvCore/Models/PullRequest.hpp"
#include "TarvCore/Models/TextEdit.hpp"
#include "TarvFeatures/App/AppAction.hpp"
#include "TarvFeatures/App/AppState.hpp"
#include "TarvFeatures/Architecture/Dependencies.hpp"
#include "TarvFeatures/Architecture/Effect.hpp"
#include "TarvFeatures/Onboarding/OnboardingReducer.hpp"
#include "TarvFeatures/Sync/ChecksTarget.hpp"

namespace tarv::features {

using AppEffect = Effect<AppAction>;

// The root reducer of the program: `reduce` stamps the time, then hands each
// action to the member that handles it. The members are grouped by feature;
// each group lives in a file of its own named after it
// (`AppReducer+Launch.cpp`, `Workspace/AppReducer+Workspace.cpp`, ...), and
// this header declares them all, one commented section per group.
//
// Rules every member keeps:
// - It changes the state in place and returns the work that follows as an
//   effect; it does no input or output itself. The only port called while
//   reducing is the clock (`reduce` stamps `now`).
// - A job captures copies of exactly the ports it needs and plain values
//   (a path, a list), never the state or `this`, and reports everything,
//   failures included, as actions.
// - An action that does not apply (no repository, no overlay, a stale
//   result) returns `AppEffect::none()`; it is never an error.
class AppReducer {
public:
    using State = AppState;
    using Action = AppAction;

    explicit AppReducer(Dependencies dependencies);

    const Dependencies& dependencies() const { return dependencies_; }

    AppEffect reduce(AppState& state, AppAction action) const;

    // ---- Shared by every group (AppReducer.cpp) -------------------------

    // Shows `text` as the one toast (replacing any other) and sets the timer
    // "toast" that dismisses it after 4 seconds, 7 for an error.
    AppEffect showToast(AppState& state, core::Text text, bool isError) const;
    // Copies the drawn sizes into the open workspace and pulls its lists and
    // diff offsets back inside them.
    void clampLists(AppState& state) const;

    // ---- Launch (App/AppReducer+Launch.cpp) -----------------------------

    // Starts the five start-up jobs: environment check, registry load,
    // start-directory resolution, credential prompts ("credentials"),
    // session load.
    AppEffect launch(AppState& state, const std::string& directory) const;
    // Opens the start repository, once, when the onboarding is done, the
    // registry loaded and the start directory resolved.
    AppEffect advanceLaunch(AppState& state) const;
    // Anonymous job: the registry without the entries whose folder is gone
    // (saved back when any was dropped); sends `registryLoaded`, then a
    // notice naming the dropped ones.
    AppEffect loadRegistryPruningMissing() const;
    // Anonymous job: the stored hosting session; sends `auth(sessionLoaded)`.
    AppEffect loadSession() const;

    // ---- Opening a repository and its loads (App/AppReducer+Open.cpp) ---

    // Makes `path` the open workspace, records it in the registry and starts
    // its status read, watcher and background fetch. Its other reads
    // (`readOpeningRest`) wait for the first status, which the first screen
    // waits for: on a large working tree they would only slow it down.
    AppEffect open(AppState& state, const std::string& path) const;
    // Once per opening, when the first status is in (read or failed) or
    // `openingRestDelay` after opening (timer "openingRest"), whichever
    // comes first: the branches, remote, first history page and stashes.
    AppEffect readOpeningRest(WorkspaceState& workspace) const;
    static constexpr std::chrono::milliseconds openingRestDelay{150};
    // Adds or updates the registry entry of `path` (stamped `now`) and saves
    // the registry (job "registry"; the last save wins).
    AppEffect upsertRepository(AppState& state, const std::string& path, const std::string& name,
                               const std::optional<std::string>& remote) const;
    // Job builders, each one job under a fixed id; the feature flows reuse
    // them to reload after a change.
    AppEffect refreshStatus(const std::string& path) const;  // "status"
    AppEffect loadBranches(const std::string& path) const;   // "branches" (branches, then tags)
    AppEffect loadRemote(const std::string& path) const;     // "remote"
    // "history" for skip 0, else "historyMore": one page of
    // HistoryState::pageSize commits.
    AppEffect loadHistory(const std::string& path, std::int64_t skip) const;
    AppEffect loadStashes(const std::string& path) const;  // "stashes"
    AppEffect watch(const std::string& path) const;        // "watcher"
    // "autofetch": a timer that sends the background fetch's tick after
    // `delay`: `firstFetchDelay` after opening, then each tick sets the next
    // `fetchInterval` on.
    AppEffect autoFetch(std::chrono::milliseconds delay) const;
    static constexpr std::chrono::seconds firstFetchDelay{2};
    static constexpr std::chrono::seconds fetchInterval{300};

    // ---- Onboarding (Onboarding/AppReducer+Onboarding.cpp) --------------

    // Forwards to the onboarding reducer, lifts its effect into the
    // application's actions, then lets the launch advance.
    AppEffect reduceOnboarding(AppState& state, OnboardingAction action) const;

    // ---- Repository registry (Repositories/AppReducer+Repositories.cpp) -

    // Anonymous job: whether `path` still holds a repository; sends
    // `repositoryChecked`.
    AppEffect openFromList(const std::string& path) const;
    // Opens the repository, or drops its vanished entry, saves the registry
    // and says so in a toast.
    AppEffect repositoryChecked(AppState& state, const std::string& path, bool exists) const;

    // ---- Workspace (Workspace/AppReducer+Workspace.cpp) -----------------
    // Every workspace action: one exhaustive dispatch over its cases, each
    // handed to the member of its feature below (or, for the groups of
    // branches and operations and of sync, to theirs). Nothing happens while
    // no repository is open.
    AppEffect reduceWorkspace(AppState& state, WorkspaceAction action) const;

    // Status, diff and file list (Workspace/AppReducer+Status.cpp).
    // Merges a fresh status into the Changes tab (inclusion, selection,
    // conflict documents) and starts what follows from it.
    AppEffect statusLoaded(WorkspaceState& workspace, core::WorkingTreeStatus status) const;
    // Job "diff" for `file`; `keepContent` leaves the shown diff on screen
    // while the same file reloads.
    AppEffect loadDiff(WorkspaceState& workspace, const core::FileChange& file, bool keepContent) const;
    // Moves the file list's selection to the selected path.
    void syncFileListSelection(WorkspaceState& workspace) const;
    // The reload every change of the repository ends with: `isRefreshing`
    // and a job "status".
    AppEffect reloadStatus(WorkspaceState& workspace) const;
    // Job "mergeMessage": git's pending merge message, when there is one,
    // as `mergeMessageLoaded`.
    AppEffect loadMergeMessage(const std::string& path) const;
    // Loading results and gestures (Workspace/AppReducer+Status.cpp,
    // Workspace/AppReducer+Loading.cpp, Workspace/AppReducer+Navigation.cpp).
    AppEffect filesChanged(WorkspaceState& workspace) const;
    AppEffect remoteLoaded(AppState& state, std::optional<std::string> url) const;
    AppEffect diffLoaded(AppState& state, const std::string& path, core::Diff diff) const;
    void mergeMessageLoaded(WorkspaceState& workspace, const std::string& text) const;
    void amendMessageLoaded(WorkspaceState& workspace, const core::CommitMessage& message) const;
    AppEffect setTab(WorkspaceState& workspace, WorkspaceTab tab) const;
    void cycleFocus(WorkspaceState& workspace, bool reverse) const;
    AppEffect scroll(WorkspaceState& workspace, Pane pane, std::int64_t by) const;
    AppEffect endDiffTextSelection(AppState& state, const std::optional<std::string>& copying) const;
    void toggleInclude(WorkspaceState& workspace, const std::string& path) const;
    void toggleAll(WorkspaceState& workspace) const;

    // Changes: selection, commit, discard, undo, amend, ignore
    // (Changes/AppReducer+Changes.cpp, Changes/AppReducer+Commit.cpp).
    AppEffect selectFile(WorkspaceState& workspace, const std::string& path) const;
    AppEffect moveFileSelection(WorkspaceState& workspace, std::int64_t by) const;
    // Job "commit" (or amend) when `canCommit`; nothing otherwise.
    AppEffect commit(WorkspaceState& workspace) const;
    AppEffect committed(AppState& state, const std::string& summary, bool amended) const;
    AppEffect commitFailed(AppState& state, core::Text text) const;
    void cancelAmend(WorkspaceState& workspace) const;
    // Job "discard": a safety snapshot, then the files' changes are gone.
    // Discards the files behind a snapshot; a submodule is left out (its
    // changes are inside it), and a list of submodules only says so.
    AppEffect discard(AppState& state, std::vector<core::FileChange> files) const;
    // Restores the last discard, else undoes the last unpushed commit; a
    // second undo while one runs is refused.
    AppEffect undo(AppState& state) const;
    AppEffect restored(AppState& state, const core::SnapshotRestore& outcome) const;
    AppEffect undoneCommit(AppState& state, const core::CommitMessage& message) const;
    AppEffect undoFailed(AppState& state, const std::string& message) const;
    AppEffect beginAmend(AppState& state) const;
    // Job "ignore" for one file.
    AppEffect ignore(WorkspaceState& workspace, core::FileChange file) const;
    AppEffect ignored(AppState& state, const std::string& path, bool wasTracked) const;

    // Line-level staging of the selected file (Changes/AppReducer+LineStaging.cpp).
    void toggleLine(WorkspaceState& workspace, core::LineRef line) const;
    void toggleHunk(WorkspaceState& workspace, std::int64_t hunk) const;
    void setLineRange(WorkspaceState& workspace, core::LineRef from, core::LineRef to, bool selected) const;
    void toggleAtCursor(WorkspaceState& workspace, bool hunk) const;

    // Conflicts (Changes/AppReducer+Conflicts.cpp).
    // Job "conflict-read-" + path: the file parsed into a conflict document.
    AppEffect loadConflict(const WorkspaceState& workspace, const std::string& path) const;
    void conflictLoaded(WorkspaceState& workspace, const std::string& path,
                        std::optional<core::ConflictDocument> document, std::uint64_t fingerprint) const;
    // Applies a choice to a block and writes the file (job "conflict-write");
    // marks it resolved when no block is left. A file changed on disk since
    // it was read is not written: it is read again (conflictLoaded).
    AppEffect chooseConflict(WorkspaceState& workspace, std::int64_t block, core::ConflictChoice choice) const;
    void moveConflictCursor(WorkspaceState& workspace, std::int64_t by) const;
    void scrollConflict(WorkspaceState& workspace, std::int64_t by) const;
    void scrollConflictTo(WorkspaceState& workspace, std::int64_t row) const;
    // Job "conflict": one side for the whole file, or marking it resolved.
    AppEffect resolveConflict(WorkspaceState& workspace, const std::string& path,
                              core::ConflictResolution resolution) const;
    AppEffect markResolved(WorkspaceState& workspace, const std::string& path) const;
    AppEffect conflictHandled(AppState& state) const;
    AppEffect operationFailed(AppState& state, const std::string& message) const;

    // History tab (History/AppReducer+History.cpp).
    AppEffect historyLoaded(WorkspaceState& workspace, std::vector<core::Commit> commits, std::int64_t skip) const;
    // The next page when `visibleEnd` comes within 5 rows of the loaded end.
    AppEffect loadMoreHistoryIfNeeded(WorkspaceState& workspace, std::int64_t visibleEnd) const;
    AppEffect selectCommit(WorkspaceState& workspace, std::int64_t row) const;
    AppEffect moveCommitSelection(WorkspaceState& workspace, std::int64_t by) const;
    AppEffect moveCommitFileSelection(WorkspaceState& workspace, std::int64_t by) const;
    AppEffect loadCommitFiles(WorkspaceState& workspace) const;
    AppEffect commitFilesLoaded(WorkspaceState& workspace, const std::string& sha,
                                std::vector<core::CommitFile> files) const;
    AppEffect selectCommitFile(WorkspaceState& workspace, std::int64_t row) const;
    void commitDiffLoaded(WorkspaceState& workspace, const std::string& sha, const std::string& path,
                          core::Diff diff) const;

    // ---- Branches, merges, history operations, tags, worktrees, stashes --
    // The workspace dispatch hands these cases over
    // (Repositories/AppReducer+Worktrees.cpp, History/AppReducer+Tags.cpp,
    // Stash/AppReducer+Stash.cpp, Branches/AppReducer+Branches.cpp,
    // History/AppReducer+Operations.cpp).
    void worktreesLoaded(AppState& state, std::vector<core::Worktree> worktrees) const;
    AppEffect worktreeChanged(AppState& state, core::Text text) const;
    AppEffect createTag(AppState& state, const std::string& name, const std::string& at) const;
    AppEffect stashOperationDone(AppState& state, core::Text text) const;
    AppEffect stashOperationFailed(AppState& state, const std::string& message) const;
    AppEffect merge(AppState& state, const std::string& branch) const;
    AppEffect mergeFinished(AppState& state, const std::string& branch, const core::MergeResult& result) const;
    AppEffect mergeFailed(AppState& state, const std::string& message) const;
    AppEffect revert(AppState& state, const std::string& commit) const;
    AppEffect cherryPick(AppState& state, const std::string& commit) const;
    AppEffect reset(AppState& state, const std::string& commit, core::ResetMode mode) const;
    AppEffect editHistory(AppState& state, const core::HistoryEdit& edit) const;
    AppEffect rebase(AppState& state, const std::string& onto) const;
    AppEffect continueOperation(AppState& state) const;
    AppEffect abortOperation(AppState& state) const;
    AppEffect operationAborted(AppState& state) const;
    AppEffect finish(AppState& state, const ReplayKind& kind, const core::OperationResult& result) const;
    AppEffect renameBranch(AppState& state, const std::string& from, const std::string& to) const;
    AppEffect deleteBranch(AppState& state, const std::string& name, bool force) const;
    AppEffect deleteNeedsForce(AppState& state, const std::string& branch) const;
    AppEffect switchBranch(AppState& state, const std::string& branch) const;
    AppEffect createBranch(AppState& state, const std::string& name, const std::optional<std::string>& from) const;
    AppEffect branchOperationDone(AppState& state, core::Text text) const;
    AppEffect branchOperationFailed(AppState& state, const std::string& message) const;
    // A write of branch heads (switch, create, rename, delete, reset, tag),
    // handed the repository, its path and the token to give git.
    using BranchWrite = std::function<void(core::GitRepositoryClient&, const std::string&, std::stop_token)>;
    // Job "branch" (Branches/AppReducer+Branches.cpp), a write of the
    // repository's lane: runs `write` after the writes asked for before it
    // and to its end, even when a later "branch" job replaces it (git is
    // never stopped half-way), then sends
    // `branchOperationDone(done)` or `branchOperationFailed`; with
    // `unforcedDelete`, git's "not fully merged" refusal sends
    // `deleteNeedsForce` for that branch instead.
    AppEffect branchJob(const WorkspaceState& workspace, core::Text done, BranchWrite write,
                        std::optional<std::string> unforcedDelete = std::nullopt) const;
    // What follows every change of branch heads: `isRefreshing` and the jobs
    // "status", "branches" and "history" (first page).
    AppEffect reloadAfterHeadChange(WorkspaceState& workspace) const;

    // ---- Sync and check runs (Sync/AppReducer+Sync.cpp) ------------------
    // The workspace dispatch hands these cases over (refreshChecks:
    // Sync/AppReducer+Checks.cpp).
    AppEffect sync(AppState& state, core::SyncAction action) const;
    AppEffect syncFinished(AppState& state, core::SyncAction action, bool silent) const;
    AppEffect syncFailed(AppState& state, core::SyncAction action, const std::optional<core::RemoteFailure>& failure,
                         const std::string& message, bool silent) const;
    // The background fetch when idle with a remote, and the next tick's timer.
    AppEffect autoFetchTick(AppState& state) const;
    // Reloads the current branch's check runs when due (always when `force`).
    AppEffect refreshChecks(AppState& state, bool force) const;

    // ---- Overlays and text editing (Overlay/AppReducer+Overlay.cpp) -----
    // Overlay actions, and an edit (typed or pasted) of the focused text
    // field (Overlay/AppReducer+TextEditing.cpp).
    AppEffect reduceOverlay(AppState& state, OverlayAction action) const;
    AppEffect apply(AppState& state, const core::TextEdit& edit) const;
    // Hands `answer` (none: a cancellation) for `prompt` to the credential
    // broker and shows the next queued prompt, or closes the overlay
    // (Overlay/AppReducer+Answers.cpp).
    AppEffect answerCredential(AppState& state, const core::CredentialPrompt& prompt,
                               std::optional<std::string> answer) const;
    // The selected row of the open overlay carried out, or the overlay's
    // natural action (Overlay/AppReducer+Activate.cpp).
    AppEffect activateSelection(AppState& state, const Overlay& overlay) const;
    // The open prompt validated and its work started (Overlay/AppReducer+Submit.cpp).
    AppEffect submit(AppState& state, const Overlay& overlay) const;

    // ---- Commands (Palette/AppReducer+Commands.cpp) ---------------------
    // A command from the keymap, the palette, a menu or a button. The
    // palette closes first; a command that does not apply does nothing.
    AppEffect perform(AppState& state, core::AppCommand command) const;
    std::optional<AppEffect> performWithoutRepository(AppState& state, core::AppCommand command) const;
    std::optional<AppEffect> performOnSelection(AppState& state, core::AppCommand command) const;
    AppEffect performOnPath(AppState& state, core::AppCommand command) const;
    AppEffect performInWorkspace(AppState& state, core::AppCommand command) const;
    AppEffect performPickers(AppState& state, core::AppCommand command) const;
    // Commits, continues a paused operation, or focuses an empty summary.
    AppEffect commitOrFocus(AppState& state) const;
    AppEffect focusSummary(WorkspaceState& workspace) const;
    AppEffect signOut(AppState& state) const;
    AppEffect openOnWeb(const WorkspaceState& workspace) const;
    AppEffect createPullRequest(AppState& state) const;
    // Asks to delete `branch`: refused for the current branch (a toast),
    // else the confirmation for a local branch (Overlay/AppReducer+Answers.cpp).
    AppEffect requestDelete(AppState& state, const std::string& branch) const;

    // ---- Called by commands and overlays, defined by their groups ----------
    // Stashes, tags, worktrees (Stash/AppReducer+Stash.cpp,
    // History/AppReducer+Tags.cpp, Repositories/AppReducer+Worktrees.cpp):
    AppEffect stashChanges(AppState& state) const;
    AppEffect loadTags(const std::string& path) const;         // job "tags"
    AppEffect reloadWorktrees(const std::string& path) const;  // job "worktrees"
    AppEffect deleteSelectedTag(AppState& state, const TagPickerState& picker) const;
    AppEffect jumpToTag(AppState& state, const TagPickerState& picker) const;
    AppEffect removeSelectedWorktree(AppState& state, const WorktreePickerState& picker) const;
    AppEffect addWorktree(AppState& state, const NewWorktreeState& prompt) const;  // job "worktreeChange"
    // Enter and drop in the stash picker (job "stash"). Both act on the row
    // the user sees and do nothing while a stash job runs; the restore
    // closes the picker, the drop takes the row out of it at once.
    AppEffect restoreSelectedStash(AppState& state, const StashPickerState& picker) const;
    AppEffect dropSelectedStash(AppState& state, const StashPickerState& picker) const;
    // Failure fixes and the credential queue (Sync/AppReducer+Fixes.cpp,
    // Auth/AppReducer+Credentials.cpp).
    // A fix button of a message overlay carried out.
    AppEffect apply(AppState& state, const core::FailureFix& fix, const Overlay& from) const;
    // The prompts kept in `pendingCredentials`, once the sign-in overlay is gone.
    AppEffect resumePendingCredentials(AppState& state) const;
    // Sign-in, pull requests, clone, publish (Auth/AppReducer+SignIn.cpp,
    // Branches/AppReducer+PullRequests.cpp, Repositories/AppReducer+Clone.cpp,
    // Sync/AppReducer+Publish.cpp):
    AppEffect beginSignIn(AppState& state) const;
    AppEffect openClone(AppState& state) const;
    AppEffect openPublish(AppState& state, const std::string& name) const;
    AppEffect loadPullRequests(AppState& state) const;
    AppEffect checkoutPullRequest(AppState& state, const core::PullRequest& pullRequest) const;
    AppEffect publishFinished(AppState& state, const std::string& fullName) const;
    AppEffect submitPublish(AppState& state, const PublishRepositoryState& form) const;
    // Job "clone": `url` cloned into `destination` (the new folder's path,
    // trimmed; a leading "~" is the home folder), then cloneFinished with
    // that path or cloneFailed.
    AppEffect startClone(AppState& state, const std::string& url, const std::string& destination) const;

    // ---- Hosting session and sign-in (Auth/AppReducer+Auth.cpp) ---------
    // Every result of the hosting jobs: the session, the sign-in overlay,
    // the pull-request tab and its checks, the clone prompt's repositories.
    AppEffect reduceAuth(AppState& state, AuthAction action) const;
    // The session refused by the hosting service: forgotten here and in the
    // account store, with an error toast.
    AppEffect sessionExpired(AppState& state) const;
    // The one wording of a failed hosting call: a core::HostingError case by
    // case, anything else as its raw description.
    static core::Text hostingText(const std::exception_ptr& error);
    // Check runs (Sync/AppReducer+Checks.cpp): where the current branch's
    // checks are read (none off the hosting service or without an "origin/"
    // upstream), and job "pullRequestChecks" for the first 30 pull requests
    // with a head commit, one after another.
    static std::optional<ChecksTarget> checksTarget(const WorkspaceState& workspace);
    AppEffect loadPullRequestChecks(const AppState& state, const std::vector<core::PullRequest>& pullRequests) const;

    // ---- Credential prompts (Auth/AppReducer+Credentials.cpp) -----------
    // A prompt of git's credential stream: answered from the session, shown,
    // or queued behind the one on screen or the sign-in.
    AppEffect credentialRequested(AppState& state, core::CredentialPrompt prompt) const;

    // The lane of the writes of the repository at `path`: they run one at a
    // time, in the order they were asked for, each to its end.
    static std::string writeLane(const std::string& path) { return "writes " + path; }

private:
    Dependencies dependencies_;
    OnboardingReducer onboardingReducer_;
};

}  // namespace tarv::features
