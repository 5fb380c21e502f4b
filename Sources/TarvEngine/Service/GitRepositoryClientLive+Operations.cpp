#include "TarvEngine/Commands/GitWriteCommands.hpp"
#include "TarvEngine/Safety/RecoveryPoint.hpp"
#include "TarvEngine/Safety/SnapshotCommands.hpp"
#include "TarvEngine/Service/GitRepositoryClientLive.hpp"

// Merging, reverting, cherry-picking, resetting, rewriting history and
// settling the operation git has in progress. All are writes in the
// repository's turn; errors pass on unchanged.
namespace tarv::engine {

core::MergeResult GitRepositoryClientLive::merge(const std::string& repository, const std::string& branch,
                                                 std::stop_token stop) {
    return queued(repository, stop,
                  [&](const GitExecutor& executor) { return GitWriteCommands{executor}.merge(repository, branch, stop); });
}

void GitRepositoryClientLive::abortOperation(const std::string& repository, std::stop_token stop) {
    const std::int64_t now = clock_->unixTime();
    queued(repository, stop, [&](const GitExecutor& executor) {
        GitWriteCommands{executor}.abortOperation(repository, *files_, keepChanges(executor, repository, now, stop),
                                                  stop);
    });
}

core::OperationResult GitRepositoryClientLive::revert(const std::string& repository, const std::string& commit,
                                                      std::stop_token stop) {
    return queued(repository, stop, [&](const GitExecutor& executor) {
        return GitWriteCommands{executor}.revert(repository, commit, stop);
    });
}

core::OperationResult GitRepositoryClientLive::cherryPick(const std::string& repository, const std::string& commit,
                                                          std::stop_token stop) {
    return queued(repository, stop, [&](const GitExecutor& executor) {
        return GitWriteCommands{executor}.cherryPick(repository, commit, stop);
    });
}

void GitRepositoryClientLive::reset(const std::string& repository, const std::string& target, core::ResetMode mode,
                                    std::stop_token stop) {
    queued(repository, stop,
           [&](const GitExecutor& executor) { GitWriteCommands{executor}.reset(repository, target, mode, stop); });
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
    const std::int64_t now = clock_->unixTime();
    return queued(repository, stop, [&](const GitExecutor& executor) {
        return GitWriteCommands{executor}.continueOperation(repository, *files_,
                                                            keepChanges(executor, repository, now, stop), stop);
    });
}

void GitRepositoryClientLive::resolve(const std::string& repository, const std::string& path,
                                      core::ConflictResolution resolution, std::stop_token stop) {
    const std::int64_t now = clock_->unixTime();
    queued(repository, stop, [&](const GitExecutor& executor) {
        // Taking one side replaces what the file holds, edits made by hand
        // included: a snapshot keeps them first. No snapshot, no resolve.
        SnapshotCommands{executor, files_}.create(repository, {path}, now, stop);
        GitWriteCommands{executor}.resolve(repository, path, resolution, *files_, stop);
    });
}

void GitRepositoryClientLive::markResolved(const std::string& repository, const std::vector<std::string>& paths,
                                           std::stop_token stop) {
    queued(repository, stop,
           [&](const GitExecutor& executor) { GitWriteCommands{executor}.markResolved(repository, paths, stop); });
}

std::function<void()> GitRepositoryClientLive::keepChanges(const GitExecutor& executor, const std::string& repository,
                                                          std::int64_t now, std::stop_token stop) const {
    return [this, &executor, &repository, now, stop] { RecoveryPoint{executor, files_}.record(repository, now, stop); };
}

}  // namespace tarv::engine
