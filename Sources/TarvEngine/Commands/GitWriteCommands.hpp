#pragma once

#include <functional>
#include <map>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "TarvCore/Models/CommitMessage.hpp"
#include "TarvCore/Models/CommitSelection.hpp"
#include "TarvCore/Models/ConflictResolution.hpp"
#include "TarvCore/Models/FileChange.hpp"
#include "TarvCore/Models/HistoryEdit.hpp"
#include "TarvCore/Models/MergeResult.hpp"
#include "TarvCore/Models/OperationResult.hpp"
#include "TarvCore/Models/ResetMode.hpp"
#include "TarvCore/Ports/FileStore.hpp"
#include "TarvEngine/Service/GitExecutor.hpp"

namespace tarv::engine {

// Every local write to a repository: the commit (built in a private index
// from HEAD that holds exactly the selection), branches and tags, stashes,
// worktrees, ignoring, merge, rebase, the operation in progress, undoing the
// last commit and history edits. `repository` is the working tree's path;
// every git call runs there. Holds no state; the caller runs at most one
// write per repository at a time. Refusals are GitError::invalidArgument
// (the texts of WriteMessages) thrown before anything changes; git's own
// failures are GitError::commandFailed; process errors pass through.
//
// Commands that name files run with literal pathspecs, so "a[1].txt" never
// selects "a1.txt", and read long path lists from standard input
// ("--pathspec-from-file=-", NUL-separated), so that no command line grows
// past the system's limit and one git process does the whole list.
struct GitWriteCommands {
    GitExecutor executor;

    // Keeps every uncommitted change and the index as a recovery point under
    // refs/tarv/ (the live client gives a snapshot of every changed path).
    // Called right before a step that can reset the working tree or the
    // index; when it throws, that step does not run.
    using KeepChanges = std::function<void()>;

    // --- Commit -----------------------------------------------------------

    // Makes one commit holding exactly `selection` on top of HEAD (on top of
    // the merge's index while a merge is in progress), or with `amend`
    // replaces the last commit (an empty selection then only rewrites the
    // message). A whole path that is gone is committed as a deletion, and
    // the new path of a staged rename takes its original path along.
    // Partial files are applied as patches built from the chosen lines, all
    // in one "apply" (all or none); a new file keeps the executable bit (or
    // the link) of the working file. A failed signing or a missing Git LFS
    // is thrown as that RemoteFailure.
    //
    // Outside a merge the commit is built in a private index (CommitIndex):
    // afterwards the chosen paths of the user's index hold what was
    // committed and every other path keeps what the user staged; HEAD's
    // reflog gets the commit's line only. A commit that fails leaves the
    // user's index as it was. Whole files that are every change there is
    // are staged with one whole-tree "add -A".
    void commit(const std::string& repository, const core::CommitMessage& message,
                const core::CommitSelection& selection, bool amend, std::stop_token stop) const;

    // Replaces the last commit (`commit` with amend); refused before the
    // first commit.
    void amend(const std::string& repository, const core::CommitMessage& message,
               const core::CommitSelection& selection, std::stop_token stop) const;

    // Turns the existing folder `path` into a new, empty repository; its
    // branch is init.defaultBranch when set, else "main".
    void initRepository(const std::string& path, std::stop_token stop) const;

    // --- Branches and tags ------------------------------------------------

    // Refuses a revision or name git could take for an option or that holds
    // white space: empty, beginning with "-", or containing any Unicode
    // white space.
    static void requireRevision(std::string_view revision);

    // Checks out the local branch `name`; a remote-tracking name such as
    // "origin/feature" creates the local branch that tracks it.
    void switchBranch(const std::string& repository, const std::string& name, std::stop_token stop) const;

    // Creates the branch `name` at `startPoint` (none: HEAD) and checks it out.
    void createBranch(const std::string& repository, const std::string& name,
                      const std::optional<std::string>& startPoint, std::stop_token stop) const;

    // Renames the local branch `from` to `to` (a valid branch name).
    void renameBranch(const std::string& repository, const std::string& from, const std::string& to,
                      std::stop_token stop) const;

    // Deletes a local branch ("-d", or "-D" when `force`) and keeps its tip
    // under refs/tarv/backups/deleted/<name> (an older backup of that name
    // moves to a numbered name, see BackupRefs). The branch never ends up
    // deleted without that backup: a backup that cannot be written refuses
    // the deletion (or, should the write fail after it, brings the branch
    // back) and the error is thrown.
    void deleteBranch(const std::string& repository, const std::string& name, bool force, std::stop_token stop) const;

    // An annotated tag `name` on `commit` whose message is its name.
    void createTag(const std::string& repository, const std::string& name, const std::string& commit,
                   std::stop_token stop) const;

    // Keeps the tagged commit under refs/tarv/backups/tags/<name> (see
    // BackupRefs), then deletes the tag.
    void deleteTag(const std::string& repository, const std::string& name, std::stop_token stop) const;

    // --- Stashes, worktrees, ignoring -------------------------------------

    // Saves every local change, untracked files included, as a stash named
    // "tarv: " + message.
    void stash(const std::string& repository, const std::string& message, std::stop_token stop) const;
    // The stash is named by its commit id (StashEntry::commit) and found in
    // the list when the write runs, wherever stashes made since have moved
    // it; when the list no longer holds it, nothing is written and the
    // refusal says so.
    //
    // Applies the stash and removes it from the list (kept when it conflicts).
    void restoreStash(const std::string& repository, const std::string& commit, std::stop_token stop) const;
    // Removes the stash from the list after keeping its commit (and with it
    // the stash's index and untracked files) under `droppedStashBackup`.
    void dropStash(const std::string& repository, const std::string& commit, std::stop_token stop) const;
    // The backup of the last dropped stash; older drops move to
    // "<name>-1", "<name>-2", ... (BackupRefs).
    static constexpr std::string_view droppedStashBackup = "refs/tarv/backups/stashes/dropped";

    // Adds a linked worktree at `path` with `branch`, creating the branch at
    // HEAD when it does not exist.
    void addWorktree(const std::string& repository, const std::string& path, const std::string& branch,
                     std::stop_token stop) const;
    // Removes a linked worktree (git refuses one with local changes).
    void removeWorktree(const std::string& repository, const std::string& path, std::stop_token stop) const;

    // Adds a rule for exactly this file to the top-level .gitignore and stops
    // tracking it (its working file stays). The .gitignore is edited as
    // bytes: its other lines stay byte for byte, and it is replaced whole
    // through `files` (the live store writes atomically).
    void ignore(const std::string& repository, const core::FileChange& file, const core::FileStore& files,
                std::stop_token stop) const;

    // --- Merge, rebase, operations in progress ----------------------------

    // Runs one history-changing git command (read-write, exit codes 0, 1 and
    // 128, no time limit) with the per-call `environment`; a stop on
    // conflicts is the result `conflicts` with the conflicted paths, any
    // other failure is GitError::commandFailed carrying git's whole output.
    core::OperationResult outcome(const std::vector<std::string>& arguments, const std::string& repository,
                                  const std::map<std::string, std::string>& environment, std::stop_token stop) const;

    core::MergeResult merge(const std::string& repository, const std::string& branch, std::stop_token stop) const;

    // Reverts or cherry-picks one commit (its changes made again, or undone,
    // on the current branch), through `outcome`.
    core::OperationResult revert(const std::string& repository, const std::string& commit,
                                 std::stop_token stop) const;
    core::OperationResult cherryPick(const std::string& repository, const std::string& commit,
                                     std::stop_token stop) const;

    // Moves the current branch to `target` (soft: the index is kept; mixed:
    // the index follows, the working tree is kept), after keeping the old
    // HEAD under refs/tarv/backups/pre-reset: no backup, no reset.
    void reset(const std::string& repository, const std::string& target, core::ResetMode mode,
               std::stop_token stop) const;

    // Rebases the current branch onto `onto`, keeping the old HEAD under
    // refs/tarv/backups/pre-rebase.
    core::OperationResult rebase(const std::string& repository, const std::string& onto, std::stop_token stop) const;

    // Continues the merge, rebase, cherry-pick or revert in progress. A step
    // with nothing staged, whose commit would be empty, is skipped, and git
    // resets the working tree and the index when it skips: `keep` runs
    // first, and the result says the step was skipped.
    core::OperationResult continueOperation(const std::string& repository, const core::FileStore& files,
                                            const KeepChanges& keep, std::stop_token stop) const;
    // Aborts the operation in progress after `keep` (git's abort cannot
    // always rebuild what was staged or edited meanwhile); nothing in
    // progress: nothing happens.
    void abortOperation(const std::string& repository, const core::FileStore& files, const KeepChanges& keep,
                        std::stop_token stop) const;

    // Takes one side of the conflicted file `path` whole and marks it
    // resolved; taking a side that deleted the file removes it. During a
    // rebase git's sides are swapped: "mine" is the branch being rebased.
    void resolve(const std::string& repository, const std::string& path, core::ConflictResolution resolution,
                 const core::FileStore& files, std::stop_token stop) const;

    // Stages the resolved files, which clears their conflict state.
    void markResolved(const std::string& repository, const std::vector<std::string>& paths, std::stop_token stop) const;

    // --- Undo -------------------------------------------------------------

    // Takes the last commit back: the branch moves to its parent (a branch's
    // only commit leaves it unborn), its changes stay in the working tree,
    // unstaged, and its message comes back. Refused, before anything
    // changes, for a commit that is published (reachable from any
    // remote-tracking ref) and for a merge commit. Before the reset `keep`
    // runs (the reset replaces the index) and the commit is kept under
    // `undoneBackup` (BackupRefs), so it stays reachable, the root commit
    // included.
    core::CommitMessage undoLastCommit(const std::string& repository, const KeepChanges& keep,
                                       std::stop_token stop) const;
    // The backup of the last undone commit; older ones move to "<name>-1",
    // "<name>-2", ... (BackupRefs).
    static constexpr std::string_view undoneBackup = "refs/tarv/backups/undone";

    // --- History edits ----------------------------------------------------

    // Squashes a commit into its parent or swaps it with a neighbour by an
    // interactive rebase whose to-do list is written here. Refuses what
    // would need a force-push or could not be replayed safely; keeps the old
    // HEAD under refs/tarv/backups/pre-rebase. The script folder is private
    // (made 0700 under `files.temporaryDirectory()`, never reused) and is
    // removed when the rebase completes.
    core::OperationResult editHistory(const std::string& repository, const core::HistoryEdit& edit,
                                      const core::FileStore& files, std::stop_token stop) const;

private:
    void requireRewritable(const std::string& repository, const std::string& oldest, std::stop_token stop) const;
    std::string fullMessage(const std::string& repository, const std::string& commit, std::stop_token stop) const;
    std::vector<core::FileChange> conflictedFiles(const std::string& repository, std::stop_token stop) const;
    // Whether `path` is unmerged and has no entry at `stage` ('2' ours,
    // '3' theirs): that side deleted it.
    bool isUnmergedWithout(const std::string& repository, const std::string& path, char stage,
                           std::stop_token stop) const;
};

}  // namespace tarv::engine
