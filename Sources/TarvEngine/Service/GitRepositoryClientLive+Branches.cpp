#include "TarvEngine/Commands/GitRemoteCommands.hpp"
#include "TarvEngine/Commands/GitWriteCommands.hpp"
#include "TarvEngine/Service/GitRepositoryClientLive.hpp"

// Changing which branch is checked out or where it points: switching,
// creating, undoing the last commit, checking out a pull request. Writes in
// the repository's turn.
namespace tarv::engine {

void GitRepositoryClientLive::switchBranch(const std::string& repository, const std::string& branch,
                                           std::stop_token stop) {
    queued(repository, stop,
           [&](const GitExecutor& executor) { GitWriteCommands{executor}.switchBranch(repository, branch, stop); });
}

std::string GitRepositoryClientLive::checkoutPullRequest(const std::string& repository, std::int64_t number,
                                                         const std::string& branch, bool fromFork,
                                                         std::stop_token stop) {
    return queued(repository, stop, [&](const GitExecutor& executor) {
        return GitRemoteCommands{executor}.checkoutPullRequest(repository, number, branch, fromFork, stop);
    });
}

void GitRepositoryClientLive::createBranch(const std::string& repository, const std::string& name,
                                           const std::optional<std::string>& startPoint, std::stop_token stop) {
    queued(repository, stop, [&](const GitExecutor& executor) {
        GitWriteCommands{executor}.createBranch(repository, name, startPoint, stop);
    });
}

core::CommitMessage GitRepositoryClientLive::undoLastCommit(const std::string& repository, std::stop_token stop) {
    const std::int64_t now = clock_->unixTime();
    return queued(repository, stop, [&](const GitExecutor& executor) {
        return GitWriteCommands{executor}.undoLastCommit(repository, keepChanges(executor, repository, now, stop),
                                                         stop);
    });
}

}  // namespace tarv::engine
