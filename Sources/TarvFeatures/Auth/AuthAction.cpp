#include "TarvFeatures/Auth/AuthAction.hpp"

namespace tarv::features {

AuthAction::AuthAction(const AuthAction&) = default;
AuthAction::AuthAction(AuthAction&&) noexcept = default;
AuthAction& AuthAction::operator=(const AuthAction&) = default;
AuthAction& AuthAction::operator=(AuthAction&&) noexcept = default;
AuthAction::~AuthAction() = default;
bool AuthAction::operator==(const AuthAction&) const = default;

AuthAction AuthAction::sessionLoaded(std::optional<core::GitHubSession> session) {
    return SessionLoaded{std::move(session)};
}
AuthAction AuthAction::deviceCodeReceived(core::DeviceCode code) { return DeviceCodeReceived{std::move(code)}; }
AuthAction AuthAction::signedIn(core::GitHubSession session) { return SignedIn{std::move(session)}; }
AuthAction AuthAction::signInFailed(core::Text message) { return SignInFailed{std::move(message)}; }
AuthAction AuthAction::pullRequestsLoaded(std::vector<core::PullRequest> pullRequests) {
    return PullRequestsLoaded{std::move(pullRequests)};
}
AuthAction AuthAction::pullRequestsFailed(core::Text message) { return PullRequestsFailed{std::move(message)}; }
AuthAction AuthAction::pullRequestChecksLoaded(std::int64_t number, core::CheckSummary summary) {
    return PullRequestChecksLoaded{number, summary};
}
AuthAction AuthAction::repositoriesLoaded(std::vector<core::GitHubRepository> repositories) {
    return RepositoriesLoaded{std::move(repositories)};
}
AuthAction AuthAction::repositoriesFailed(core::Text message) { return RepositoriesFailed{std::move(message)}; }
AuthAction AuthAction::sessionExpired() { return SessionExpired{}; }

}  // namespace tarv::features
