#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Support/GitScriptedRunner.hpp"
#include "Support/TempGitRepo.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvCore/Errors/RemoteFailure.hpp"
#include "TarvEngine/Environment/GitEnvironment.hpp"
#include "TarvEngine/Locator/GitLocator.hpp"
#include "TarvEngine/Service/GitExecutorProvider.hpp"
#include "TarvEngine/Service/GitRepositoryClientLive.hpp"
#include "TarvSystem/Clock/SystemClock.hpp"
#include "TarvSystem/FileSystem/LocalFileStore.hpp"
#include "TarvSystem/FileSystem/LocalFileSystem.hpp"
#include "TarvSystem/Process/PosixProcessRunner.hpp"

namespace tarv::engine::testing {

// The path of this machine's git, located once the way the program does it.
inline const std::string& installedGitPath() {
    static const std::string path = [] {
        auto runner = std::make_shared<system::PosixProcessRunner>();
        return GitLocator::fromEnvironment(runner, std::make_shared<system::LocalFileSystem>())
            .locate(std::stop_token{})
            .path;
    }();
    return path;
}

// A provider whose git is this machine's, run through `runner`, isolated in
// the repository's temporary home (HOME, GIT_CONFIG_GLOBAL,
// GIT_CONFIG_NOSYSTEM, XDG_*).
inline std::shared_ptr<GitExecutorProvider> isolatedProvider(const tarv::testing::TempGitRepo& repo,
                                                             std::shared_ptr<core::ProcessRunning> runner) {
    GitLocator locator{runner, std::make_shared<system::LocalFileSystem>(), installedGitPath(), std::nullopt};
    return std::make_shared<GitExecutorProvider>(locator, runner,
                                                 GitEnvironment::Isolation{repo.home(), repo.globalConfig()},
                                                 std::nullopt, repo.environment());
}

// The live client on real git, the live file store and the system clock.
inline std::shared_ptr<GitRepositoryClientLive> liveClient(
    const tarv::testing::TempGitRepo& repo,
    std::shared_ptr<core::ProcessRunning> runner = std::make_shared<system::PosixProcessRunner>()) {
    return std::make_shared<GitRepositoryClientLive>(isolatedProvider(repo, runner),
                                                     std::make_shared<system::LocalFileStore>(),
                                                     std::make_shared<system::SystemClock>());
}

// A client whose runner starts nothing and records every request: git is
// "found" at /usr/bin/git (its --version answered by the script), every
// other run answers with `script` (default: exit 0, no output).
struct RecordingClient {
    std::shared_ptr<tarv::testing::GitScriptedRunner> runner;
    std::shared_ptr<GitRepositoryClientLive> client;

    explicit RecordingClient(tarv::testing::GitScriptedRunner::Script script = {}) {
        runner = std::make_shared<tarv::testing::GitScriptedRunner>(
            [script](const core::ProcessSpec& spec, std::stop_token stop) {
                if (spec.arguments == std::vector<std::string>{"--version"})
                    return tarv::testing::GitScriptedRunner::result(0, "git version 2.39.5\n");
                if (script) return script(spec, stop);
                return core::ProcessResult{};
            });
        struct Executable final : core::FileSystem {
            bool isExecutableFile(const std::string&) const override { return true; }
        };
        GitLocator locator{runner, std::make_shared<Executable>(), "/usr/bin/git", std::nullopt};
        client = std::make_shared<GitRepositoryClientLive>(
            std::make_shared<GitExecutorProvider>(locator, runner, std::nullopt, std::nullopt),
            std::make_shared<system::LocalFileStore>(), std::make_shared<system::SystemClock>());
    }

    // The git argument lists of the repository commands run so far, without
    // the base arguments and without the locator's --version probe.
    std::vector<std::vector<std::string>> gitRuns() const {
        std::vector<std::vector<std::string>> runs;
        const auto& base = GitEnvironment::baseArguments();
        for (const auto& spec : runner->specs()) {
            if (spec.arguments == std::vector<std::string>{"--version"}) continue;
            std::vector<std::string> arguments = spec.arguments;
            if (arguments.size() >= base.size() && std::equal(base.begin(), base.end(), arguments.begin()))
                arguments.erase(arguments.begin(), arguments.begin() + static_cast<std::ptrdiff_t>(base.size()));
            runs.push_back(std::move(arguments));
        }
        return runs;
    }
};

// The message of a GitError::invalidArgument thrown by `call`; fails the
// test when it throws anything else or nothing.
template <class Call>
std::string refusal(Call&& call) {
    try {
        call();
    } catch (const core::GitError& error) {
        if (const auto* invalid = std::get_if<core::GitError::InvalidArgument>(&error.value)) return invalid->message;
        ADD_FAILURE() << "other git error: " << error.description();
        return {};
    } catch (const std::exception& error) {
        ADD_FAILURE() << "other error: " << error.what();
        return {};
    }
    ADD_FAILURE() << "no error";
    return {};
}

}  // namespace tarv::engine::testing
