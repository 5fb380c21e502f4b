#include "TarvEngine/Commands/GitReadCommands.hpp"
#include "TarvEngine/Service/GitRepositoryClientLive.hpp"

// The reads: no write queue, read-only git (no optional locks), the
// executor's 60-second limit. Parsers get git's output byte for byte.
namespace tarv::engine {

std::optional<std::string> GitRepositoryClientLive::repositoryRoot(const std::string& path, std::stop_token stop) {
    if (const auto ahead = currentReadAhead()) {
        if (auto root = ahead->takeRoot(path, stop)) return std::move(*root);
    }
    return GitReadCommands{provider_->executor(stop)}.repositoryRoot(path, stop);
}

bool GitRepositoryClientLive::repositoryExists(const std::string& path, std::stop_token) {
    try {
        return files_->fileExists(path + "/.git");
    } catch (...) {
        return false;
    }
}

core::WorkingTreeStatus GitRepositoryClientLive::status(const std::string& repository, std::stop_token stop) {
    if (const auto ahead = currentReadAhead()) {
        if (auto status = ahead->takeStatus(repository, stop)) return std::move(*status);
    }
    return GitReadCommands{provider_->executor(stop)}.status(repository, *files_, stop);
}

core::Diff GitRepositoryClientLive::diff(const std::string& repository, const core::FileChange& file,
                                         std::stop_token stop) {
    return GitReadCommands{provider_->executor(stop)}.diff(repository, file, stop);
}

std::vector<core::Commit> GitRepositoryClientLive::history(const std::string& repository, std::int64_t skip,
                                                           std::int64_t limit, std::stop_token stop) {
    return historyStreams_->page(provider_->executor(stop), repository, skip, limit, {}, stop);
}

std::vector<core::CommitFile> GitRepositoryClientLive::files(const std::string& commit,
                                                             const std::string& repository, std::stop_token stop) {
    return commitListings_->run(
        stop, [&] { return GitReadCommands{provider_->executor(stop)}.files(commit, repository, stop); });
}

core::Diff GitRepositoryClientLive::diffOfCommit(const std::string& commit, const std::string& path,
                                                 const std::string& repository, std::stop_token stop) {
    return GitReadCommands{provider_->executor(stop)}.diffOfCommit(commit, path, repository, stop);
}

std::vector<core::Branch> GitRepositoryClientLive::branches(const std::string& repository, std::stop_token stop) {
    return GitReadCommands{provider_->executor(stop)}.branches(repository, stop);
}

std::optional<std::string> GitRepositoryClientLive::remoteURL(const std::string& repository,
                                                              const std::string& remote, std::stop_token stop) {
    return GitReadCommands{provider_->executor(stop)}.remoteURL(repository, remote, stop);
}

std::vector<core::StashEntry> GitRepositoryClientLive::stashes(const std::string& repository, std::stop_token stop) {
    return GitReadCommands{provider_->executor(stop)}.stashes(repository, stop);
}

std::optional<std::string> GitRepositoryClientLive::pendingMergeMessage(const std::string& repository,
                                                                        std::stop_token stop) {
    return GitReadCommands{provider_->executor(stop)}.pendingMergeMessage(repository, *files_, stop);
}

std::optional<core::CommitMessage> GitRepositoryClientLive::headMessage(const std::string& repository,
                                                                        std::stop_token stop) {
    return GitReadCommands{provider_->executor(stop)}.headMessage(repository, stop);
}

std::vector<core::Tag> GitRepositoryClientLive::tags(const std::string& repository, std::stop_token stop) {
    return GitReadCommands{provider_->executor(stop)}.tags(repository, stop);
}

std::vector<core::Worktree> GitRepositoryClientLive::worktrees(const std::string& repository, std::stop_token stop) {
    return GitReadCommands{provider_->executor(stop)}.worktrees(repository, stop);
}

}  // namespace tarv::engine
