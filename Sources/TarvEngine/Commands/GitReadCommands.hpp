#pragma once

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "TarvCore/Models/Branch.hpp"
#include "TarvCore/Models/Commit.hpp"
#include "TarvCore/Models/CommitFile.hpp"
#include "TarvCore/Models/CommitMessage.hpp"
#include "TarvCore/Models/Diff.hpp"
#include "TarvCore/Models/FileChange.hpp"
#include "TarvCore/Models/RepositoryOperation.hpp"
#include "TarvCore/Models/StashEntry.hpp"
#include "TarvCore/Models/Tag.hpp"
#include "TarvCore/Models/WorkingTreeStatus.hpp"
#include "TarvCore/Models/Worktree.hpp"
#include "TarvCore/Ports/FileStore.hpp"
#include "TarvEngine/Service/GitExecutor.hpp"

namespace tarv::engine {

// The questions the workspace asks about a repository. Every operation runs
// fresh git commands (read-only, no input, 60 s) in `path`; paths that come
// from git (the top level, status entries, diff lines, commit files) are kept
// byte for byte. Commands that name files run with literal pathspecs.
struct GitReadCommands {
    GitExecutor executor;

    // The top-level folder of the working tree containing `path`; none
    // outside a repository or when `path` does not exist. A repository git
    // refuses to read (owned by another user) throws GitError::commandFailed
    // with git's reason and advice.
    std::optional<std::string> repositoryRoot(const std::string& path, std::stop_token stop) const;

    // The working tree's status with the operation in progress (the status
    // and the operation probe run at the same time).
    core::WorkingTreeStatus status(const std::string& path, const core::FileStore& files, std::stop_token stop) const;

    // The operation git has in progress, judged by the marker files in the
    // git folder; a merge wins over a rebase, a rebase over a cherry-pick, a
    // cherry-pick over a revert.
    std::optional<core::RepositoryOperation> operation(const std::string& path, const core::FileStore& files,
                                                       std::stop_token stop) const;

    // The message of HEAD; none before the first commit.
    std::optional<core::CommitMessage> headMessage(const std::string& path, std::stop_token stop) const;

    // The message git prepared for a pending merge, comment lines removed;
    // none when there is no such file.
    std::optional<std::string> pendingMergeMessage(const std::string& path, const core::FileStore& files,
                                                   std::stop_token stop) const;

    // The URL of a remote; none when it has none.
    std::optional<std::string> remoteURL(const std::string& path, const std::string& remote,
                                         std::stop_token stop) const;

    // The diff of one changed file against HEAD (staged and unstaged
    // together); an untracked file, and any file before the first commit,
    // against nothing: what a commit of the file would take.
    core::Diff diff(const std::string& path, const core::FileChange& change, std::stop_token stop) const;

    // At most `limit` commits after skipping `skip`, newest first; empty
    // before the first commit.
    std::vector<core::Commit> history(const std::string& path, std::int64_t skip, std::int64_t limit,
                                      std::stop_token stop) const;

    // The files commit `sha` changed (a merge against its first parent),
    // with their line counts.
    std::vector<core::CommitFile> files(const std::string& sha, const std::string& path, std::stop_token stop) const;

    // The diff of `file` in commit `sha` (a merge against its first parent);
    // the file is named literally.
    core::Diff diffOfCommit(const std::string& sha, const std::string& file, const std::string& path,
                            std::stop_token stop) const;

    // The local and remote-tracking branches, most recently committed first.
    std::vector<core::Branch> branches(const std::string& path, std::stop_token stop) const;
    // The stash list, newest first.
    std::vector<core::StashEntry> stashes(const std::string& path, std::stop_token stop) const;
    // The tags, most recently created first.
    std::vector<core::Tag> tags(const std::string& path, std::stop_token stop) const;
    // The main worktree and the linked ones.
    std::vector<core::Worktree> worktrees(const std::string& path, std::stop_token stop) const;

    // The arguments of the history command for one page.
    static std::vector<std::string> historyArguments(std::int64_t skip, std::int64_t limit);
};

}  // namespace tarv::engine
