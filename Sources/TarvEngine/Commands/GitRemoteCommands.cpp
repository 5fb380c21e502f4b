#include "TarvEngine/Commands/GitRemoteCommands.hpp"

#include <variant>

#include "TarvCore/Rules/BranchNameRules.hpp"
#include "TarvEngine/Commands/BackupRefs.hpp"
#include "TarvEngine/Commands/GitWriteCommands.hpp"
#include "TarvEngine/Commands/WriteMessages.hpp"
#include "TarvEngine/Commands/WriteSupport.hpp"
#include "TarvEngine/Parsers/GitFailureClassifier.hpp"

namespace tarv::engine {

namespace {

using namespace std::chrono_literals;

// Runs a network-facing command; git's failure becomes the classified
// RemoteFailure.
core::ProcessResult classified(const GitExecutor& executor, const std::vector<std::string>& arguments,
                               const std::optional<std::string>& directory, std::chrono::milliseconds timeout,
                               std::stop_token stop) {
    try {
        return executor.run(arguments, directory, write::writing({0}, timeout), stop);
    } catch (const core::GitError& error) {
        if (const auto* failed = std::get_if<core::GitError::CommandFailed>(&error.value)) {
            throw GitFailureClassifier::classify(failed->stderr);
        }
        throw;
    }
}

void requireRemote(const std::string& name, const std::string& url) {
    if (!core::BranchNameRules::isValid(name) || url.empty() || url.front() == '-') {
        write::refuse(WriteMessages::invalidRemote, name + " " + url);
    }
}

}  // namespace

void GitRemoteCommands::fetch(const std::string& repository, std::stop_token stop) const {
    classified(executor, {"fetch", "--prune"}, repository, 300s, stop);
}

void GitRemoteCommands::pull(const std::string& repository, std::stop_token stop) const {
    classified(executor, {"pull", "--ff-only"}, repository, 600s, stop);
}

void GitRemoteCommands::push(const std::string& repository, const std::string& branch, bool setUpstream,
                             std::stop_token stop) const {
    std::vector<std::string> arguments{"push", "--follow-tags"};
    if (setUpstream) {
        GitWriteCommands::requireRevision(branch);
        arguments.insert(arguments.end(), {"-u", "origin", branch});
    }
    classified(executor, arguments, repository, 600s, stop);
}

void GitRemoteCommands::clone(const std::string& url, const std::string& destination, std::stop_token stop) const {
    classified(executor, {"clone", "--", url, destination}, std::nullopt, 1800s, stop);
}

void GitRemoteCommands::addRemote(const std::string& repository, const std::string& name, const std::string& url,
                                  std::stop_token stop) const {
    requireRemote(name, url);
    executor.run({"remote", "add", name, url}, repository, write::writing(), stop);
}

void GitRemoteCommands::setRemoteURL(const std::string& repository, const std::string& name, const std::string& url,
                                     std::stop_token stop) const {
    requireRemote(name, url);
    executor.run({"remote", "set-url", name, url}, repository, write::writing(), stop);
}

std::string GitRemoteCommands::checkoutPullRequest(const std::string& repository, std::int64_t number,
                                                   const std::string& branch, bool fromFork,
                                                   std::stop_token stop) const {
    if (number < 1) write::refuse(WriteMessages::invalidPullRequestNumber, std::to_string(number));

    if (!fromFork) {
        if (!core::BranchNameRules::isValid(branch)) write::refuse(WriteMessages::invalidBranchName, branch);
        classified(executor, {"fetch", "origin", "+refs/heads/" + branch + ":refs/remotes/origin/" + branch},
                   repository, 300s, stop);
        auto local = executor.run({"show-ref", "--verify", "-q", "refs/heads/" + branch}, repository,
                                  write::reading({0, 1}), stop);
        if (local.exitCode == 0) {
            executor.run({"switch", branch}, repository, write::writing(), stop);
        } else {
            executor.run({"switch", "-c", branch, "--track", "origin/" + branch}, repository, write::writing(), stop);
        }
        return branch;
    }

    const std::string numberText = std::to_string(number);
    const std::string local = "pr/" + numberText;
    const std::string head = "refs/pull/" + numberText + "/head";
    auto current = executor.run({"symbolic-ref", "--short", "-q", "HEAD"}, repository, write::reading({0, 1}), stop);
    if (write::trimmedOutput(current) == local) {
        classified(executor, {"fetch", "origin", head}, repository, 300s, stop);
        executor.run({"merge", "--ff-only", "FETCH_HEAD"}, repository, write::writing(), stop);
        return local;
    }

    auto existing =
        executor.run({"rev-parse", "--verify", "-q", "refs/heads/" + local}, repository, write::reading({0, 1}), stop);
    const std::string oldTip = write::trimmedOutput(existing);
    if (oldTip.empty()) {
        classified(executor, {"fetch", "origin", "+" + head + ":refs/heads/" + local}, repository, 300s, stop);
        executor.run({"switch", local}, repository, write::writing(), stop);
        return local;
    }

    // A local branch of that name already exists and may hold commits of the
    // user's own: fetch the pull request's head aside first, keep the old tip
    // under a backup when the new head does not contain it, and only then
    // move the branch.
    classified(executor, {"fetch", "origin", head}, repository, 300s, stop);
    const std::string newTip =
        write::trimmedOutput(executor.run({"rev-parse", "--verify", "FETCH_HEAD^{commit}"}, repository, stop));
    auto contained =
        executor.run({"merge-base", "--is-ancestor", oldTip, newTip}, repository, write::reading({0, 1}), stop);
    if (contained.exitCode != 0) {
        BackupRefs{executor}.keep(repository, "refs/tarv/backups/deleted/" + local, oldTip, stop);
    }
    // Refused by git when the branch is checked out in another worktree.
    executor.run({"branch", "-f", local, newTip}, repository, write::writing(), stop);
    executor.run({"switch", local}, repository, write::writing(), stop);
    return local;
}

}  // namespace tarv::engine
