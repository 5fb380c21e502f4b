#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Rules/BranchNameRules.hpp"
#include "TarvEngine/Commands/GitRemoteCommands.hpp"
#include "TarvEngine/Commands/GitWriteCommands.hpp"
#include "TarvEngine/Commands/WriteMessages.hpp"
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
        if (!core::BranchNameRules::isValid(name)) {
            throw core::GitError::invalidArgument(std::string(WriteMessages::invalidBranchName) + name);
        }
        std::vector<std::string> arguments{"switch", "-c", name};
        if (startPoint) arguments.push_back(*startPoint);
        executor.run(arguments, repository, {.readOnly = false}, stop);
    });
}

core::CommitMessage GitRepositoryClientLive::undoLastCommit(const std::string& repository, std::stop_token stop) {
    return queued(repository, stop,
                  [&](const GitExecutor& executor) { return GitWriteCommands{executor}.undoLastCommit(repository, stop); });
}

}  // namespace tarv::engine
