#pragma once

#include <cstdint>
#include <stop_token>
#include <string>

#include "TarvEngine/Service/GitExecutor.hpp"

namespace tarv::engine {

// Everything that talks to a remote: fetch, pull, push, clone, adding or
// repointing a remote and checking out a pull request. The remote is
// "origin" wherever one is fixed. A network-facing command that fails throws
// the RemoteFailure that GitFailureClassifier finds in git's error output
// instead of git's raw failure; local steps throw GitError::commandFailed;
// refusals are GitError::invalidArgument before git runs; process errors pass
// through. Holds no state.
struct GitRemoteCommands {
    GitExecutor executor;

    // "fetch --prune" (300 s).
    void fetch(const std::string& repository, std::stop_token stop) const;
    // "pull --ff-only" (600 s): divergent histories are refused, never merged.
    void pull(const std::string& repository, std::stop_token stop) const;
    // "push --follow-tags", with `setUpstream` also "-u origin <branch>"
    // (600 s). The branch must not read as an option.
    void push(const std::string& repository, const std::string& branch, bool setUpstream, std::stop_token stop) const;
    // "clone -- <url> <destination>" in this process's folder (1800 s).
    void clone(const std::string& url, const std::string& destination, std::stop_token stop) const;
    void addRemote(const std::string& repository, const std::string& name, const std::string& url,
                   std::stop_token stop) const;
    void setRemoteURL(const std::string& repository, const std::string& name, const std::string& url,
                      std::stop_token stop) const;

    // Checks out pull request `number` and returns the local branch. From the
    // same repository: the head `branch` of "origin", tracked. From a fork:
    // the local branch "pr/<number>", fast-forwarded when it is checked out;
    // otherwise set to the pull request's head, after keeping its old tip
    // under refs/tarv/backups/deleted/pr/<number> (see BackupRefs) when it has commits the
    // pull request lacks (a backup that cannot be written stops the checkout
    // with the branch untouched).
    std::string checkoutPullRequest(const std::string& repository, std::int64_t number, const std::string& branch,
                                    bool fromFork, std::stop_token stop) const;
};

}  // namespace tarv::engine
