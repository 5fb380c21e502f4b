#include "TarvCore/Models/RepositoryOperation.hpp"
#include "TarvEngine/Commands/GitReadCommands.hpp"
#include "TarvEngine/Commands/GitWriteCommands.hpp"
#include "TarvEngine/Environment/GitEnvironment.hpp"
#include "TarvEngine/Service/GitRepositoryClientLive.hpp"

// Merging, reverting, cherry-picking, resetting, rewriting history and
// settling the operation git has in progress. All are writes in the
// repository's turn; errors pass on unchanged.
namespace tarv::engine {

namespace {

const GitExecutor::Options writing{.readOnly = false};

// A write that names one file: the path is taken literally, so resolving
// "*.txt" never resolves every text file.
GitExecutor::Options writingPath() {
    GitExecutor::Options options{.readOnly = false};
    options.environment = GitEnvironment::literalPathspecs();
    return options;
}

}  // namespace

core::MergeResult GitRepositoryClientLive::merge(const std::string& repository, const std::string& branch,
                                                 std::stop_token stop) {
    return queued(repository, stop,
                  [&](const GitExecutor& executor) { return GitWriteCommands{executor}.merge(repository, branch, stop); });
}

void GitRepositoryClientLive::abortOperation(const std::string& repository, std::stop_token stop) {
    queued(repository, stop, [&](const GitExecutor& executor) {
        GitWriteCommands{executor}.abortOperation(repository, *files_, stop);
    });
}

core::OperationResult GitRepositoryClientLive::revert(const std::string& repository, const std::string& commit,
                                                      std::stop_token stop) {
    return queued(repository, stop, [&](const GitExecutor& executor) {
        GitWriteCommands::requireRevision(commit);
        return GitWriteCommands{executor}.outcome({"revert", "--no-edit", commit}, repository, {}, stop);
    });
}

core::OperationResult GitRepositoryClientLive::cherryPick(const std::string& repository, const std::string& commit,
                                                          std::stop_token stop) {
    return queued(repository, stop, [&](const GitExecutor& executor) {
        GitWriteCommands::requireRevision(commit);
        return GitWriteCommands{executor}.outcome({"cherry-pick", commit}, repository, {}, stop);
    });
}

void GitRepositoryClientLive::reset(const std::string& repository, const std::string& target, core::ResetMode mode,
                                    std::stop_token stop) {
    queued(repository, stop, [&](const GitExecutor& executor) {
        GitWriteCommands::requireRevision(target);
        // The recovery point comes first: no backup, no reset.
        executor.run({"update-ref", "refs/tarv/backups/pre-reset", "HEAD"}, repository, writing, stop);
        executor.run({"reset", mode == core::ResetMode::soft ? "--soft" : "--mixed", "-q", target, "--"}, repository,
                     writing, stop);
    });
}

core::OperationResult GitRepositoryClientLive::editHistory(const std::string& repository,
                                                           const core::HistoryEdit& edit, std::stop_token stop) {
    return queued(repository, stop, [&](const GitExecutor& executor) {
        return GitWriteCommands{executor}.editHistory(repository, edit, *files_, stop);
    });
}

core::OperationResult GitRepositoryClientLive::rebase(const std::string& repository, const std::string& onto,
                                                      std::stop_token stop) {
    return queued(repository, stop,
                  [&](const GitExecutor& executor) { return GitWriteCommands{executor}.rebase(repository, onto, stop); });
}

core::OperationResult GitRepositoryClientLive::continueOperation(const std::string& repository,
                                                                 std::stop_token stop) {
    return queued(repository, stop, [&](const GitExecutor& executor) {
        return GitWriteCommands{executor}.continueOperation(repository, *files_, stop);
    });
}

void GitRepositoryClientLive::resolve(const std::string& repository, const std::string& path,
                                      core::ConflictResolution resolution, std::stop_token stop) {
    queued(repository, stop, [&](const GitExecutor& executor) {
        const auto operation = GitReadCommands{executor}.operation(repository, *files_, stop);
        // During a rebase git's "ours" is the branch being rebased onto and
        // "theirs" the user's own commit being replayed.
        const bool rebasing = operation == core::RepositoryOperation::rebase;
        const bool ours = (resolution == core::ConflictResolution::mine) != rebasing;
        executor.run({"checkout", ours ? "--ours" : "--theirs", "--", path}, repository, writingPath(), stop);
        executor.run({"add", "-f", "--", path}, repository, writingPath(), stop);
    });
}

void GitRepositoryClientLive::markResolved(const std::string& repository, const std::vector<std::string>& paths,
                                           std::stop_token stop) {
    queued(repository, stop,
           [&](const GitExecutor& executor) { GitWriteCommands{executor}.markResolved(repository, paths, stop); });
}

}  // namespace tarv::engine
