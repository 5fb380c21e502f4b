#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stop_token>
#include <string>
#include <vector>

#include "TarvCore/Models/Bytes.hpp"
#include "TarvCore/Models/ProcessResult.hpp"
#include "TarvCore/Ports/ProcessRunning.hpp"
#include "TarvEngine/Environment/GitEnvironment.hpp"
#include "TarvEngine/Locator/GitInstallation.hpp"

namespace tarv::engine {

// The one place where a git invocation becomes a child process: it puts the
// fixed arguments in front, layers the environment, runs the process through
// the port and turns an exit code the caller did not allow into
// GitError::commandFailed. Immutable; any number of runs may be in flight.
struct GitExecutor {
    // How one command is run; the defaults suit a read.
    struct Options {
        // Whether the command only reads (it then takes no optional locks).
        // A command that writes must say false.
        bool readOnly = true;
        // Bytes for git's standard input, which is then closed; none: no input.
        std::optional<core::Bytes> stdin = std::nullopt;
        // Per-call variables, laid over everything else.
        std::map<std::string, std::string> environment = {};
        // The exit codes that count as success.
        std::set<std::int32_t> allowedExitCodes = {0};
        // Wall-clock limit of the run; none: the run takes as long as git
        // needs. A limit ends git with SIGKILL, so a command that writes to
        // the repository has none (git killed while it holds a lock such as
        // index.lock leaves the repository locked for every later command).
        std::optional<std::chrono::milliseconds> timeout = std::chrono::seconds(60);
        // Whether git may look for the repository in the folders above
        // `directory` (only the lookup of a folder's repository root does).
        // Otherwise git is held to `directory` itself: when its ".git" is
        // gone the call fails instead of running in a repository above.
        bool searchesAbove = false;
    };

    std::shared_ptr<core::ProcessRunning> runner;
    GitInstallation installation;
    std::optional<GitEnvironment::Isolation> isolation = std::nullopt;
    std::optional<GitEnvironment::Askpass> askpass = std::nullopt;
    std::map<std::string, std::string> extraEnvironment = {};

    // Runs `git <base arguments> <arguments>` in `directory` (none: this
    // process's own folder), with GIT_CEILING_DIRECTORIES set to the folder
    // above `directory` unless the call searches above. Returns the result
    // untouched when its exit code is allowed; throws GitError::commandFailed
    // otherwise, with git's standard error (or, when that is empty, its short
    // standard output). Process errors (spawn failure, time-out,
    // cancellation) pass through unchanged.
    core::ProcessResult run(const std::vector<std::string>& arguments, const std::optional<std::string>& directory,
                            const Options& options, std::stop_token stop) const;
    core::ProcessResult run(const std::vector<std::string>& arguments, const std::optional<std::string>& directory,
                            std::stop_token stop) const;

    // The process request `run` hands to the runner.
    core::ProcessSpec spec(const std::vector<std::string>& arguments, const std::optional<std::string>& directory,
                           const Options& options) const;

    bool operator==(const GitExecutor&) const = default;
};

}  // namespace tarv::engine
