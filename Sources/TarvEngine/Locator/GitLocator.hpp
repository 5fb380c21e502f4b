#pragma once

#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "TarvCore/Ports/FileSystem.hpp"
#include "TarvCore/Ports/ProcessRunning.hpp"
#include "TarvEngine/Locator/GitInstallation.hpp"

namespace tarv::engine {

// Finds the git to run. Candidates, in order: the user's override (the
// variable TARV_GIT), the first executable `git` on the search path, the
// fixed install paths, /usr/bin/git. The first candidate that is an
// executable file and answers `--version` with a readable version wins.
struct GitLocator {
    std::shared_ptr<core::ProcessRunning> runner;
    std::shared_ptr<core::FileSystem> fileSystem;
    std::optional<std::string> override;
    // The search path (the value of PATH) in which git is looked for first
    // after the override; none: the path is not searched.
    std::optional<std::string> searchPath;

    // The fixed candidates tried after the search path.
    static const std::vector<std::string>& fixedCandidates();

    // A locator set up from this process's environment: TARV_GIT as the
    // override, PATH as the search path.
    static GitLocator fromEnvironment(std::shared_ptr<core::ProcessRunning> runner,
                                      std::shared_ptr<core::FileSystem> fileSystem);

    // The lookup. Throws GitError::gitNotFound when no candidate qualifies,
    // nothing else. Candidates are probed one after another, each with a
    // 5-second limit.
    GitInstallation locate(std::stop_token stop) const;

    // The candidate `locate` probes first: the first one that is an
    // executable file, not yet asked for its version. None when no candidate
    // is an executable file.
    std::optional<std::string> firstCandidate() const;

private:
    std::optional<std::string> searchPathGit() const;
    // Every candidate in order, executable files or not.
    std::vector<std::string> candidates() const;
};

}  // namespace tarv::engine
