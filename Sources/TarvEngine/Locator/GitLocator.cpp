#include "TarvEngine/Locator/GitLocator.hpp"

#include <chrono>
#include <cstdlib>
#include <exception>

#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Text/Split.hpp"

namespace tarv::engine {

namespace {

constexpr std::chrono::milliseconds probeTimeLimit{5000};

}  // namespace

const std::vector<std::string>& GitLocator::fixedCandidates() {
    static const std::vector<std::string> candidates{"/opt/homebrew/bin/git", "/usr/local/bin/git", "/usr/bin/git"};
    return candidates;
}

GitLocator GitLocator::fromEnvironment(std::shared_ptr<core::ProcessRunning> runner,
                                       std::shared_ptr<core::FileSystem> fileSystem) {
    GitLocator locator{std::move(runner), std::move(fileSystem), std::nullopt, std::nullopt};
    if (const char* value = std::getenv("TARV_GIT")) locator.override = std::string(value);
    if (const char* value = std::getenv("PATH")) locator.searchPath = std::string(value);
    return locator;
}

std::optional<std::string> GitLocator::searchPathGit() const {
    if (!searchPath) return std::nullopt;
    for (std::string_view folder : core::text::split(std::string_view(*searchPath), ':')) {
        // Only absolute folders: a relative entry would make the answer depend
        // on the folder tarv was started in (a repository could plant a "git").
        if (!folder.starts_with('/')) continue;
        std::string candidate(folder);
        if (!candidate.ends_with('/')) candidate += '/';
        candidate += "git";
        if (fileSystem->isExecutableFile(candidate)) return candidate;
    }
    return std::nullopt;
}

std::vector<std::string> GitLocator::candidates() const {
    std::vector<std::string> candidates;
    if (override && !override->empty()) candidates.push_back(*override);
    if (auto found = searchPathGit()) candidates.push_back(*found);
    for (const auto& path : fixedCandidates()) candidates.push_back(path);
    return candidates;
}

std::optional<std::string> GitLocator::firstCandidate() const {
    for (auto& candidate : candidates()) {
        if (fileSystem->isExecutableFile(candidate)) return std::move(candidate);
    }
    return std::nullopt;
}

GitInstallation GitLocator::locate(std::stop_token stop) const {
    for (const auto& candidate : candidates()) {
        if (stop.stop_requested()) break;
        if (!fileSystem->isExecutableFile(candidate)) continue;
        core::ProcessSpec spec;
        spec.executable = candidate;
        spec.arguments = {"--version"};
        spec.timeout = probeTimeLimit;
        core::ProcessResult result;
        try {
            result = runner->run(spec, stop);
        } catch (const std::exception&) {
            continue;
        }
        if (result.exitCode != 0) continue;
        if (auto version = core::GitVersion::parse(result.stdoutString())) {
            return GitInstallation{candidate, *version};
        }
    }
    throw core::GitError::gitNotFound();
}

}  // namespace tarv::engine
