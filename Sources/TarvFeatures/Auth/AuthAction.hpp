#pragma once

#include <cstdint>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/CheckSummary.hpp"
#include "TarvCore/Models/DeviceCode.hpp"
#include "TarvCore/Models/GitHubRepository.hpp"
#include "TarvCore/Models/GitHubSession.hpp"
#include "TarvCore/Models/PullRequest.hpp"

namespace tarv::features {

// The results of the hosting jobs (session load, sign-in, pull requests and
// their checks, the user's repositories); payload of the application's auth
// action.
struct AuthAction {
    // The stored account read at launch; none when there is none.
    struct SessionLoaded {
        std::optional<core::GitHubSession> session;
        bool operator==(const SessionLoaded&) const = default;
    };
    struct DeviceCodeReceived {
        core::DeviceCode code;
        bool operator==(const DeviceCodeReceived&) const = default;
    };
    struct SignedIn {
        core::GitHubSession session;
        bool operator==(const SignedIn&) const = default;
    };
    struct SignInFailed {
        core::Text message;
        bool operator==(const SignInFailed&) const = default;
    };
    struct PullRequestsLoaded {
        std::vector<core::PullRequest> pullRequests;
        bool operator==(const PullRequestsLoaded&) const = default;
    };
    struct PullRequestsFailed {
        core::Text message;
        bool operator==(const PullRequestsFailed&) const = default;
    };
    struct PullRequestChecksLoaded {
        std::int64_t number = 0;
        core::CheckSummary summary;
        bool operator==(const PullRequestChecksLoaded&) const = default;
    };
    struct RepositoriesLoaded {
        std::vector<core::GitHubRepository> repositories;
        bool operator==(const RepositoriesLoaded&) const = default;
    };
    struct RepositoriesFailed {
        core::Text message;
        bool operator==(const RepositoriesFailed&) const = default;
    };
    // The hosting service refused the session's token.
    struct SessionExpired {
        bool operator==(const SessionExpired&) const = default;
    };

    using Value = std::variant<SessionLoaded, DeviceCodeReceived, SignedIn, SignInFailed, PullRequestsLoaded,
                               PullRequestsFailed, PullRequestChecksLoaded, RepositoriesLoaded, RepositoriesFailed,
                               SessionExpired>;
    Value value;

    template <class Case>
        requires std::is_constructible_v<Value, Case&&>
    AuthAction(Case&& action) : value(std::forward<Case>(action)) {}  // NOLINT: implicit on purpose

    // Special members and equality are compiled once, in the .cpp.
    AuthAction(const AuthAction&);
    AuthAction(AuthAction&&) noexcept;
    AuthAction& operator=(const AuthAction&);
    AuthAction& operator=(AuthAction&&) noexcept;
    ~AuthAction();
    bool operator==(const AuthAction&) const;

    static AuthAction sessionLoaded(std::optional<core::GitHubSession> session);
    static AuthAction deviceCodeReceived(core::DeviceCode code);
    static AuthAction signedIn(core::GitHubSession session);
    static AuthAction signInFailed(core::Text message);
    static AuthAction pullRequestsLoaded(std::vector<core::PullRequest> pullRequests);
    static AuthAction pullRequestsFailed(core::Text message);
    static AuthAction pullRequestChecksLoaded(std::int64_t number, core::CheckSummary summary);
    static AuthAction repositoriesLoaded(std::vector<core::GitHubRepository> repositories);
    static AuthAction repositoriesFailed(core::Text message);
    static AuthAction sessionExpired();
};

}  // namespace tarv::features
