#include "TarvCore/Errors/UnfinishedDiscard.hpp"
#include "TarvEngine/Commands/GitWriteCommands.hpp"
#include "TarvEngine/Safety/SnapshotCommands.hpp"
#include "TarvEngine/Service/GitRepositoryClientLive.hpp"

// The writes to the working tree, the index, tags, branch names, worktrees,
// stashes and snapshots. Each runs in the repository's turn on the write
// queue; refusals are thrown there before any git process starts.
namespace tarv::engine {

void GitRepositoryClientLive::commit(const std::string& repository, const core::CommitMessage& message,
                                     const core::CommitSelection& selection, std::stop_token stop) {
    queued(repository, stop, [&](const GitExecutor& executor) {
        GitWriteCommands{executor}.commit(repository, message, selection, false, stop);
    });
}

void GitRepositoryClientLive::amend(const std::string& repository, const core::CommitMessage& message,
                                    const core::CommitSelection& selection, std::stop_token stop) {
    queued(repository, stop, [&](const GitExecutor& executor) {
        GitWriteCommands{executor}.amend(repository, message, selection, stop);
    });
}

std::string GitRepositoryClientLive::discard(const std::string& repository, const std::vector<core::FileChange>& files,
                                             std::stop_token stop) {
    GitExecutor executor = provider_->executor(stop);
    const std::int64_t now = clock_->unixTime();
    std::vector<std::string> paths;
    paths.reserve(files.size());
    for (const auto& file : files) {
        paths.push_back(file.path);
        if (file.originalPath) paths.push_back(*file.originalPath);
    }
    SnapshotCommands::checkDiscardable(files);
    return writeQueue_->serialized(repository, [&] {
        SnapshotCommands snapshots{executor, files_};
        std::string reference = snapshots.create(repository, paths, now, stop);
        // From here on the snapshot holds every change: a discard that fails
        // half-way still hands it on, so that undo brings back what is gone.
        try {
            snapshots.discard(repository, files, stop);
        } catch (...) {
            throw core::UnfinishedDiscard(reference, std::current_exception());
        }
        return reference;
    });
}

core::SnapshotRestore GitRepositoryClientLive::restoreSnapshot(const std::string& repository,
                                                               const std::string& reference,
                                                               const std::vector<std::string>& paths,
                                                               std::stop_token stop) {
    const std::int64_t now = clock_->unixTime();
    return queued(repository, stop, [&](const GitExecutor& executor) {
        // What was edited again since the discard is kept first, so the
        // undo never writes over the only copy of anything.
        SnapshotCommands snapshots{executor, files_};
        core::SnapshotRestore outcome;
        outcome.editedPaths = snapshots.editedSinceDiscard(repository, reference, paths, stop);
        if (!outcome.editedPaths.empty()) {
            outcome.keptEdits = snapshots.create(repository, outcome.editedPaths, now, stop);
        }
        snapshots.restore(repository, reference, paths, stop);
        return outcome;
    });
}

void GitRepositoryClientLive::stash(const std::string& repository, const std::string& message, std::stop_token stop) {
    queued(repository, stop,
           [&](const GitExecutor& executor) { GitWriteCommands{executor}.stash(repository, message, stop); });
}

void GitRepositoryClientLive::restoreStash(const std::string& repository, const std::string& commit,
                                           std::stop_token stop) {
    queued(repository, stop, [&](const GitExecutor& executor) {
        GitWriteCommands{executor}.restoreStash(repository, commit, stop);
    });
}

void GitRepositoryClientLive::dropStash(const std::string& repository, const std::string& commit,
                                        std::stop_token stop) {
    queued(repository, stop,
           [&](const GitExecutor& executor) { GitWriteCommands{executor}.dropStash(repository, commit, stop); });
}

void GitRepositoryClientLive::ignore(const std::string& repository, const core::FileChange& file,
                                     std::stop_token stop) {
    queued(repository, stop,
           [&](const GitExecutor& executor) { GitWriteCommands{executor}.ignore(repository, file, *files_, stop); });
}

void GitRepositoryClientLive::addWorktree(const std::string& repository, const std::string& path,
                                          const std::string& branch, std::stop_token stop) {
    queued(repository, stop, [&](const GitExecutor& executor) {
        GitWriteCommands{executor}.addWorktree(repository, path, branch, stop);
    });
}

void GitRepositoryClientLive::removeWorktree(const std::string& repository, const std::string& path,
                                             std::stop_token stop) {
    queued(repository, stop,
           [&](const GitExecutor& executor) { GitWriteCommands{executor}.removeWorktree(repository, path, stop); });
}

void GitRepositoryClientLive::createTag(const std::string& repository, const std::string& name,
                                        const std::string& commit, std::stop_token stop) {
    queued(repository, stop, [&](const GitExecutor& executor) {
        GitWriteCommands{executor}.createTag(repository, name, commit, stop);
    });
}

void GitRepositoryClientLive::deleteTag(const std::string& repository, const std::string& name, std::stop_token stop) {
    queued(repository, stop,
           [&](const GitExecutor& executor) { GitWriteCommands{executor}.deleteTag(repository, name, stop); });
}

void GitRepositoryClientLive::renameBranch(const std::string& repository, const std::string& from,
                                           const std::string& to, std::stop_token stop) {
    queued(repository, stop, [&](const GitExecutor& executor) {
        GitWriteCommands{executor}.renameBranch(repository, from, to, stop);
    });
}

void GitRepositoryClientLive::deleteBranch(const std::string& repository, const std::string& name, bool force,
                                           std::stop_token stop) {
    queued(repository, stop, [&](const GitExecutor& executor) {
        GitWriteCommands{executor}.deleteBranch(repository, name, force, stop);
    });
}

}  // namespace tarv::engine
