#pragma once

#include <cstdlib>
#include <memory>

#include "Support/TempGitRepo.hpp"
#include "TarvEngine/Commands/GitReadCommands.hpp"
#include "TarvEngine/Locator/GitLocator.hpp"
#include "TarvEngine/Service/GitExecutor.hpp"
#include "TarvSystem/FileSystem/LocalFileStore.hpp"
#include "TarvSystem/FileSystem/LocalFileSystem.hpp"
#include "TarvSystem/Process/PosixProcessRunner.hpp"

namespace tarv::engine::testing {

// The live file store and executable check.
using DiskFiles = system::LocalFileStore;
using DiskExecutables = system::LocalFileSystem;

// An executor on the real process runner and the real git, isolated in the
// repository's temporary home.
// Git is located the way the program does it, from this process's PATH.
inline GitExecutor realExecutor(const tarv::testing::TempGitRepo& repo) {
    auto runner = std::make_shared<system::PosixProcessRunner>();
    const char* path = std::getenv("PATH");
    GitLocator locator{runner, std::make_shared<DiskExecutables>(), std::nullopt,
                       path ? std::optional<std::string>(path) : std::nullopt};
    return GitExecutor{runner, locator.locate(std::stop_token{}),
                       GitEnvironment::Isolation{repo.home(), repo.globalConfig()}, std::nullopt, repo.environment()};
}

}  // namespace tarv::engine::testing
