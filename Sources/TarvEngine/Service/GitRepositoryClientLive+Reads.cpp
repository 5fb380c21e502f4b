#include "TarvEngine/Commands/GitReadCommands.hpp"
#include "TarvEngine/Environment/GitEnvironment.hpp"
#include "TarvEngine/Parsers/DiffParser.hpp"
#include "TarvEngine/Parsers/RefParser.hpp"
#include "TarvEngine/Parsers/StashParser.hpp"
#include "TarvEngine/Parsers/TagParser.hpp"
#include "TarvEngine/Parsers/WorktreeParser.hpp"
#include "TarvEngine/Service/GitRepositoryClientLive.hpp"

// The reads: no write queue, read-only git (no optional locks), the
// executor's 60-second limit. Parsers get git's output byte for byte.
namespace tarv::engine {

std::optional<std::string> GitRepositoryClientLive::repositoryRoot(const std::string& path, std::stop_token stop) {
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
    return GitReadCommands{provider_->executor(stop)}.status(repository, *files_, stop);
}

core::Diff GitRepositoryClientLive::diff(const std::string& repository, const core::FileChange& file,
                                         std::stop_token stop) {
    return GitReadCommands{provider_->executor(stop)}.diff(repository, file, stop);
}

std::vector<core::Commit> GitRepositoryClientLive::history(const std::string& repository, std::int64_t skip,
                                                           std::int64_t limit, std::stop_token stop) {
    return GitReadCommands{provider_->executor(stop)}.history(repository, skip, limit, stop);
}

std::vector<core::CommitFile> GitRepositoryClientLive::files(const std::string& commit,
                                                             const std::string& repository, std::stop_token stop) {
    return GitReadCommands{provider_->executor(stop)}.files(commit, repository, stop);
}

core::Diff GitRepositoryClientLive::diffOfCommit(const std::string& commit, const std::string& path,
                                                 const std::string& repository, std::stop_token stop) {
    // The path is taken literally: "a[1].txt" must never also show "a1.txt".
    auto result = provider_->executor(stop).run(
        {"show", "--no-color", "--no-ext-diff", "--format=", "-U3", "-m", "--first-parent", commit, "--", path},
        repository, {.environment = GitEnvironment::literalPathspecs()}, stop);
    return DiffParser::parse(result.stdoutBytes());
}

std::vector<core::Branch> GitRepositoryClientLive::branches(const std::string& repository, std::stop_token stop) {
    auto result = provider_->executor(stop).run({"for-each-ref", "--sort=-committerdate",
                                                 "--format=" + std::string(RefParser::format), "refs/heads",
                                                 "refs/remotes"},
                                                repository, stop);
    return RefParser::parse(result.stdoutBytes());
}

std::optional<std::string> GitRepositoryClientLive::remoteURL(const std::string& repository,
                                                              const std::string& remote, std::stop_token stop) {
    return GitReadCommands{provider_->executor(stop)}.remoteURL(repository, remote, stop);
}

std::vector<core::StashEntry> GitRepositoryClientLive::stashes(const std::string& repository, std::stop_token stop) {
    auto result = provider_->executor(stop).run({"stash", "list", "-z", "--format=%gd%x1f%ct%x1f%gs"}, repository,
                                                stop);
    return StashParser::parse(result.stdoutBytes());
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
    auto result = provider_->executor(stop).run(
        {"for-each-ref", "--sort=-creatordate", "--format=%(refname:short)%00%(*objectname)%00%(objectname)",
         "refs/tags"},
        repository, stop);
    return TagParser::parse(result.stdoutBytes());
}

std::vector<core::Worktree> GitRepositoryClientLive::worktrees(const std::string& repository, std::stop_token stop) {
    auto result = provider_->executor(stop).run({"worktree", "list", "--porcelain"}, repository, stop);
    return WorktreeParser::parse(result.stdoutBytes());
}

}  // namespace tarv::engine
