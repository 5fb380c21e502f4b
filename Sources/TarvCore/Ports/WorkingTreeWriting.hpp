#pragma once

#include "TarvCore/Models/CommitMessage.hpp"
#include "TarvCore/Models/CommitSelection.hpp"
#include "TarvCore/Models/ConflictResolution.hpp"
#include "TarvCore/Models/FileChange.hpp"
#include "TarvCore/Models/HistoryEdit.hpp"
#include "TarvCore/Models/MergeResult.hpp"
#include "TarvCore/Models/OperationResult.hpp"
#include "TarvCore/Models/ResetMode.hpp"
#include "TarvCore/Models/SnapshotRestore.hpp"
#include "TarvCore/Models/Tag.hpp"
#include "TarvCore/Models/Worktree.hpp"

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

namespace tarv::core {

// Writes to one repository; `repository` is the path of its working
// directory. Every call blocks and throws.
class WorkingTreeWriting {
public:
    virtual ~WorkingTreeWriting() = default;

    virtual void commit(const std::string& repository, const CommitMessage& message, const CommitSelection& selection,
                        std::stop_token stop) = 0;
    virtual void amend(const std::string& repository, const CommitMessage& message, const CommitSelection& selection,
                       std::stop_token stop) = 0;
    // Discards the changes of the files after saving a snapshot; returns the
    // snapshot's reference. A discard that fails once the snapshot exists
    // throws UnfinishedDiscard, which names it.
    virtual std::string discard(const std::string& repository, const std::vector<FileChange>& files,
                                std::stop_token stop) = 0;
    // Writes `paths` back from the snapshot `reference` (the undo of a
    // discard). Paths edited again since the discard are first kept in a
    // recovery point, which the result names.
    virtual SnapshotRestore restoreSnapshot(const std::string& repository, const std::string& reference,
                                            const std::vector<std::string>& paths, std::stop_token stop) = 0;
    virtual void stash(const std::string& repository, const std::string& message, std::stop_token stop) = 0;
    // A stash is named by its commit id (StashEntry::commit), so that a
    // stash made meanwhile cannot take its place; one no longer listed is
    // refused without a write.
    virtual void restoreStash(const std::string& repository, const std::string& commit, std::stop_token stop) = 0;
    virtual void dropStash(const std::string& repository, const std::string& commit, std::stop_token stop) = 0;
    virtual MergeResult merge(const std::string& repository, const std::string& branch, std::stop_token stop) = 0;
    virtual void abortOperation(const std::string& repository, std::stop_token stop) = 0;
    virtual OperationResult revert(const std::string& repository, const std::string& commit, std::stop_token stop) = 0;
    virtual OperationResult cherryPick(const std::string& repository, const std::string& commit,
                                       std::stop_token stop) = 0;
    virtual void reset(const std::string& repository, const std::string& target, ResetMode mode,
                       std::stop_token stop) = 0;
    virtual OperationResult editHistory(const std::string& repository, const HistoryEdit& edit,
                                        std::stop_token stop) = 0;
    virtual OperationResult rebase(const std::string& repository, const std::string& onto, std::stop_token stop) = 0;
    virtual OperationResult continueOperation(const std::string& repository, std::stop_token stop) = 0;
    virtual void resolve(const std::string& repository, const std::string& path, ConflictResolution resolution,
                         std::stop_token stop) = 0;
    virtual void markResolved(const std::string& repository, const std::vector<std::string>& paths,
                              std::stop_token stop) = 0;
    virtual void ignore(const std::string& repository, const FileChange& file, std::stop_token stop) = 0;
    virtual std::vector<Tag> tags(const std::string& repository, std::stop_token stop) = 0;
    virtual std::vector<Worktree> worktrees(const std::string& repository, std::stop_token stop) = 0;
    virtual void addWorktree(const std::string& repository, const std::string& path, const std::string& branch,
                             std::stop_token stop) = 0;
    virtual void removeWorktree(const std::string& repository, const std::string& path, std::stop_token stop) = 0;
    virtual void createTag(const std::string& repository, const std::string& name, const std::string& commit,
                           std::stop_token stop) = 0;
    virtual void deleteTag(const std::string& repository, const std::string& name, std::stop_token stop) = 0;
    virtual void switchBranch(const std::string& repository, const std::string& branch, std::stop_token stop) = 0;
    // Checks the pull request out into a local branch; returns that branch.
    virtual std::string checkoutPullRequest(const std::string& repository, std::int64_t number,
                                            const std::string& branch, bool fromFork, std::stop_token stop) = 0;
    virtual void renameBranch(const std::string& repository, const std::string& from, const std::string& to,
                              std::stop_token stop) = 0;
    virtual void deleteBranch(const std::string& repository, const std::string& name, bool force,
                              std::stop_token stop) = 0;
    virtual void createBranch(const std::string& repository, const std::string& name,
                              const std::optional<std::string>& startPoint, std::stop_token stop) = 0;
    // Undoes the last commit, keeping its changes; returns its message.
    virtual CommitMessage undoLastCommit(const std::string& repository, std::stop_token stop) = 0;

    // Commits the listed paths whole (in the given order) and nothing line by
    // line: `commit` with the selection made of those paths.
    void commitIncluding(const std::string& repository, const CommitMessage& message,
                         const std::vector<std::string>& paths, std::stop_token stop) {
        commit(repository, message, CommitSelection{paths, {}}, std::move(stop));
    }
};

}  // namespace tarv::core
