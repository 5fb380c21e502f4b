#include "TarvEngine/Service/GitClientLive.hpp"

#include <variant>

#include "TarvCore/Errors/GitError.hpp"
#include "TarvEngine/Commands/GitConfigCommands.hpp"

namespace tarv::engine {

namespace {

std::optional<std::string> last(const std::vector<std::string>& values) {
    if (values.empty()) return std::nullopt;
    return values.back();
}

}  // namespace

GitClientLive::GitClientLive(std::shared_ptr<GitExecutorProvider> provider) : provider_(std::move(provider)) {}

GitClientLive::GitClientLive(GitLocator locator, std::shared_ptr<core::ProcessRunning> runner,
                             std::optional<GitEnvironment::Isolation> isolation)
    : provider_(std::make_shared<GitExecutorProvider>(std::move(locator), std::move(runner), std::move(isolation),
                                                      std::nullopt)) {}

core::EnvironmentReport GitClientLive::probeEnvironment(std::stop_token stop) {
    std::optional<GitExecutor> executor;
    try {
        executor = provider_->executor(stop);
    } catch (const core::GitError& error) {
        if (std::holds_alternative<core::GitError::GitNotFound>(error.value)) return core::EnvironmentReport{};
        throw;
    }
    auto values = GitConfigCommands{*executor}.valuesOfKeys(
        {"user.name", "user.email", "credential.helper", "init.defaultBranch"}, std::nullopt, stop);

    core::EnvironmentReport report;
    report.gitPath = executor->installation.path;
    report.gitVersion = executor->installation.version;
    report.identity = core::Identity{last(values[0]), last(values[1])};
    report.credentialHelpers = std::move(values[2]);
    report.defaultBranch = last(values[3]);
    return report;
}

void GitClientLive::setGlobalConfig(const std::string& key, const std::string& value, std::stop_token stop) {
    GitConfigCommands{provider_->executor(stop)}.setGlobal(key, value, stop);
}

}  // namespace tarv::engine
