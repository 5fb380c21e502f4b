#include "TarvEngine/Commands/CommitIndex.hpp"
#include "TarvEngine/Commands/GitReadCommands.hpp"
#include "TarvEngine/Safety/SnapshotCommands.hpp"
#include "TarvEngine/Service/GitRepositoryClientLive.hpp"

// The reads: no write queue, read-only git (no optional locks), the
// executor's 60-second limit. Parsers get git's output byte for byte.
namespace tarv::engine {

std::optional<std::string> GitRepositoryClientLive::repositoryRoot(const std::string& path, std::stop_token stop) {
    std::optional<std::optional<std::string>> taken;
    if (const auto ahead = currentReadAhead()) taken = ahead->takeRoot(path, stop);
    std::optional<std::string> root =
        taken ? std::move(*taken) : GitReadCommands{provider_->executor(stop)}.repositoryRoot(path, stop);
    if (root) removeLeftovers(*root, stop);
    return root;
}

void GitRepositoryClientLive::removeLeftovers(const std::string& root, std::stop_token stop) const {
    if (writeQueue_->isBusy(root) || writeQueue_->waiting(root) > 0) return;
    // The git folder: ".git" itself, or the folder a ".git" file names (a
    // linked worktree).
    const std::string dotGit = root + "/.git";
    std::string gitDirectory = dotGit;
    try {
        if (!files_->isDirectory(dotGit)) {
            const auto link = files_->readFile(dotGit);
            if (!link) return;
            std::string_view text = core::byteView(*link);
            if (!text.starts_with("gitdir: ")) return;
            text.remove_prefix(8);
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
            gitDirectory = text.starts_with('/') ? std::string(text) : root + "/" + std::string(text);
        }
    } catch (...) {
        return;
    }
    SnapshotCommands::removeLeftovers(*files_, gitDirectory);
    try {
        CommitIndex::settleLeftovers(provider_->executor(stop), root, gitDirectory, stop);
    } catch (...) {
    }
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
