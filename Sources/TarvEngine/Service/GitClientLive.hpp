#pragma once

#include <memory>
#include <optional>
#include <stop_token>
#include <string>

#include "TarvCore/Models/EnvironmentReport.hpp"
#include "TarvCore/Ports/GitClient.hpp"
#include "TarvCore/Ports/ProcessRunning.hpp"
#include "TarvEngine/Environment/GitEnvironment.hpp"
#include "TarvEngine/Locator/GitLocator.hpp"
#include "TarvEngine/Service/GitExecutorProvider.hpp"

namespace tarv::engine {

// The git operations that belong to no repository: which git is in use and
// how the user configured it, and writing one global setting. Shares its
// executor provider with the repository client, so git is located once.
class GitClientLive final : public core::GitClient {
public:
    explicit GitClientLive(std::shared_ptr<GitExecutorProvider> provider);
    // A client with a provider of its own (no askpass helper, no extra
    // environment).
    GitClientLive(GitLocator locator, std::shared_ptr<core::ProcessRunning> runner,
                  std::optional<GitEnvironment::Isolation> isolation);

    // The located git with the identity, credential helpers and default
    // branch from git's configuration (the four keys read in one git run). No git
    // found: an empty report. A failing read throws; there is no partial
    // report.
    core::EnvironmentReport probeEnvironment(std::stop_token stop) override;

    // `git config --global <key> <value>`.
    void setGlobalConfig(const std::string& key, const std::string& value, std::stop_token stop) override;

    const std::shared_ptr<GitExecutorProvider>& provider() const { return provider_; }

private:
    std::shared_ptr<GitExecutorProvider> provider_;
};

}  // namespace tarv::engine
