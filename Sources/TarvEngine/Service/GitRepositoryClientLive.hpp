#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "TarvCore/Ports/AppClock.hpp"
#include "TarvCore/Ports/FileStore.hpp"
#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvEngine/Service/GitExecutor.hpp"
#include "TarvEngine/Service/GitExecutorProvider.hpp"
#include "TarvEngine/Service/GitWriteQueue.hpp"
#include "TarvEngine/Service/HistoryStreams.hpp"
#include "TarvEngine/Service/ReadTurn.hpp"
#include "TarvEngine/Service/StartReadAhead.hpp"

namespace tarv::engine {

// The live repository client: every repository operation of the program
// ends here as git child processes.
//
// - Reads (and the listings of tags and worktrees) run at once, read-only,
//   beside each other and beside writes; only the files of a commit are
//   listed one listing at a time (ReadTurn), so that a listing replaced
//   while it waits starts no git.
// - Writes follow one frame: locate git through the provider (a missing git
//   fails at once), wait for the repository's turn on the write queue (keyed
//   by the path exactly as given), validate, run git, give the turn away on
//   every exit. A refusal therefore runs no git process at all.
// - Clone never waits for the queue; initRepository queues on the new path.
// - Cancellation reaches the running git process through the stop token;
//   waiting for the turn ignores it (the caller keeps its place).
// - History pages come from one kept-open `git log` while they continue one
//   another (HistoryStreams); that git belongs to the client and ends with
//   it, when another repository's history replaces it, after a few minutes
//   unused, or through `closeHistoryStream`.
// - The start folder's root and status can be read ahead (`readAhead`), so
//   that the first screen need not wait for the program's start-up checks
//   before its slowest read begins.
//
// The program makes exactly one client, so all its writes share one queue;
// copies share it too, while two clients made separately would not
// serialise against each other.
class GitRepositoryClientLive final : public core::GitRepositoryClient {
public:
    GitRepositoryClientLive(std::shared_ptr<GitExecutorProvider> provider, std::shared_ptr<core::FileStore> files,
                            std::shared_ptr<core::AppClock> clock);

    const std::shared_ptr<GitExecutorProvider>& provider() const { return provider_; }
    const std::shared_ptr<GitWriteQueue>& writeQueue() const { return writeQueue_; }
    const std::shared_ptr<ReadTurn>& commitListings() const { return commitListings_; }

    // Ends the kept-open history read of `repository` (when it is closed or
    // another one is opened), or of any repository (at quit).
    void closeHistoryStream(const std::string& repository) { historyStreams_->close(repository); }
    void closeHistoryStreams() { historyStreams_->closeAll(); }

    // Begins reading the root of `directory` and that root's status at once
    // (StartReadAhead; the status of `directory` itself beside the root when
    // it holds ".git"): the first `repositoryRoot` of `directory` and the
    // first `status` of the root soon after take those reads instead of
    // starting their own. Replaces an earlier read-ahead.
    void readAhead(const std::string& directory);
    // Ends what is still being read ahead.
    void stopReadAhead();

    // --- Reads (+Reads) ---------------------------------------------------

    // The root of the repository holding `path`. Opening a repository goes
    // through here, so it also removes what a snapshot stopped or killed
    // half-way (by an earlier run) left in the root's git folder, unless a
    // write of this client runs there.
    std::optional<std::string> repositoryRoot(const std::string& path, std::stop_token stop) override;
    // Whether "<path>/.git" exists; asks the file store only, so it answers
    // even without git.
    bool repositoryExists(const std::string& path, std::stop_token stop) override;
    core::WorkingTreeStatus status(const std::string& repository, std::stop_token stop) override;
    core::Diff diff(const std::string& repository, const core::FileChange& file, std::stop_token stop) override;
    std::vector<core::Commit> history(const std::string& repository, std::int64_t skip, std::int64_t limit,
                                      std::stop_token stop) override;
    std::vector<core::CommitFile> files(const std::string& commit, const std::string& repository,
                                        std::stop_token stop) override;
    core::Diff diffOfCommit(const std::string& commit, const std::string& path, const std::string& repository,
                            std::stop_token stop) override;
    std::vector<core::Branch> branches(const std::string& repository, std::stop_token stop) override;
    std::optional<std::string> remoteURL(const std::string& repository, const std::string& remote,
                                         std::stop_token stop) override;
    std::vector<core::StashEntry> stashes(const std::string& repository, std::stop_token stop) override;
    std::optional<std::string> pendingMergeMessage(const std::string& repository, std::stop_token stop) override;
    std::optional<core::CommitMessage> headMessage(const std::string& repository, std::stop_token stop) override;
    std::vector<core::Tag> tags(const std::string& repository, std::stop_token stop) override;
    std::vector<core::Worktree> worktrees(const std::string& repository, std::stop_token stop) override;

    // --- Working tree, tags, branch names, worktrees, stashes (+Writes) ----

    void commit(const std::string& repository, const core::CommitMessage& message,
                const core::CommitSelection& selection, std::stop_token stop) override;
    void amend(const std::string& repository, const core::CommitMessage& message,
               const core::CommitSelection& selection, std::stop_token stop) override;
    // Saves a snapshot of the files, then discards their changes; returns the
    // snapshot's reference. Nothing is discarded when the snapshot fails; a
    // discard that fails after it throws core::UnfinishedDiscard with the
    // snapshot's reference.
    std::string discard(const std::string& repository, const std::vector<core::FileChange>& files,
                        std::stop_token stop) override;
    core::SnapshotRestore restoreSnapshot(const std::string& repository, const std::string& reference,
                         const std::vector<std::string>& paths, std::stop_token stop) override;
    void stash(const std::string& repository, const std::string& message, std::stop_token stop) override;
    void restoreStash(const std::string& repository, const std::string& commit, std::stop_token stop) override;
    void dropStash(const std::string& repository, const std::string& commit, std::stop_token stop) override;
    void ignore(const std::string& repository, const core::FileChange& file, std::stop_token stop) override;
    void addWorktree(const std::string& repository, const std::string& path, const std::string& branch,
                     std::stop_token stop) override;
    void removeWorktree(const std::string& repository, const std::string& path, std::stop_token stop) override;
    // An annotated tag whose message is its name.
    void createTag(const std::string& repository, const std::string& name, const std::string& commit,
                   std::stop_token stop) override;
    void deleteTag(const std::string& repository, const std::string& name, std::stop_token stop) override;
    void renameBranch(const std::string& repository, const std::string& from, const std::string& to,
                      std::stop_token stop) override;
    void deleteBranch(const std::string& repository, const std::string& name, bool force,
                      std::stop_token stop) override;

    // --- Operations in progress and history (+Operations) -----------------

    core::MergeResult merge(const std::string& repository, const std::string& branch, std::stop_token stop) override;
    void abortOperation(const std::string& repository, std::stop_token stop) override;
    core::OperationResult revert(const std::string& repository, const std::string& commit,
                                 std::stop_token stop) override;
    core::OperationResult cherryPick(const std::string& repository, const std::string& commit,
                                     std::stop_token stop) override;
    // Keeps the old HEAD under refs/tarv/backups/pre-reset first.
    void reset(const std::string& repository, const std::string& target, core::ResetMode mode,
               std::stop_token stop) override;
    core::OperationResult editHistory(const std::string& repository, const core::HistoryEdit& edit,
                                      std::stop_token stop) override;
    core::OperationResult rebase(const std::string& repository, const std::string& onto,
                                 std::stop_token stop) override;
    core::OperationResult continueOperation(const std::string& repository, std::stop_token stop) override;
    // Takes one side of a conflicted file whole and marks it resolved, after
    // saving the file as it is in a snapshot (refs/tarv/snapshots/). During
    // a rebase git's sides are swapped: "mine" is the branch being rebased.
    void resolve(const std::string& repository, const std::string& path, core::ConflictResolution resolution,
                 std::stop_token stop) override;
    void markResolved(const std::string& repository, const std::vector<std::string>& paths,
                      std::stop_token stop) override;

    // --- Branches, undo, pull requests (+Branches) -------------------------

    void switchBranch(const std::string& repository, const std::string& branch, std::stop_token stop) override;
    std::string checkoutPullRequest(const std::string& repository, std::int64_t number, const std::string& branch,
                                    bool fromFork, std::stop_token stop) override;
    // Creates the branch at `startPoint` (none: HEAD) and checks it out.
    void createBranch(const std::string& repository, const std::string& name,
                      const std::optional<std::string>& startPoint, std::stop_token stop) override;
    core::CommitMessage undoLastCommit(const std::string& repository, std::stop_token stop) override;

    // --- Remotes and new repositories (+Sync) ------------------------------

    void fetch(const std::string& repository, std::stop_token stop) override;
    void pull(const std::string& repository, std::stop_token stop) override;
    void push(const std::string& repository, const std::string& branch, bool setUpstream,
              std::stop_token stop) override;
    void clone(const std::string& url, const std::string& directory, std::stop_token stop) override;
    // Creates the folder when missing, then initialises it.
    void initRepository(const std::string& directory, std::stop_token stop) override;
    void addRemote(const std::string& repository, const std::string& name, const std::string& url,
                   std::stop_token stop) override;
    void setRemoteURL(const std::string& repository, const std::string& name, const std::string& url,
                      std::stop_token stop) override;

private:
    // The queued-write frame: the executor first (outside the queue), then
    // `body(executor)` in the repository's turn.
    template <class Body>
    auto queued(const std::string& repository, std::stop_token stop, Body&& body) {
        GitExecutor executor = provider_->executor(stop);
        return writeQueue_->serialized(repository, [&] { return body(executor); });
    }

    std::shared_ptr<GitExecutorProvider> provider_;
    std::shared_ptr<core::FileStore> files_;
    std::shared_ptr<core::AppClock> clock_;
    std::shared_ptr<GitWriteQueue> writeQueue_;
    std::shared_ptr<HistoryStreams> historyStreams_;
    std::shared_ptr<ReadTurn> commitListings_;

    // The read-ahead of the start folder, shared by copies of this client.
    struct ReadAheadHolder {
        std::mutex mutex;
        std::shared_ptr<StartReadAhead> current;
    };
    std::shared_ptr<StartReadAhead> currentReadAhead() const;
    // What programs stopped during a snapshot or a commit left in the git
    // folder of `root`: temporary indexes go, a commit's index is settled.
    void removeLeftovers(const std::string& root, std::stop_token stop) const;
    // A recovery point of every uncommitted change (RecoveryPoint), for a
    // write that can reset the working tree or the index; it runs inside
    // that write's turn, with its executor.
    std::function<void()> keepChanges(const GitExecutor& executor, const std::string& repository, std::int64_t now,
                                      std::stop_token stop) const;
    std::shared_ptr<ReadAheadHolder> readAhead_;
};

}  // namespace tarv::engine
