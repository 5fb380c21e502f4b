#pragma once

#include <cstddef>
#include <exception>
#include <optional>
#include <string>
#include <variant>

namespace tarv::core {

// The classified reason why a git command that talks to a remote (fetch,
// pull, push, clone, checking out a pull request) or that signs a commit
// failed. Both a value (carried by texts and fixes) and an exception (the
// remote commands throw it in place of the raw git error). Cases in
// declaration order; tables indexed by case follow `value.index()`.
struct RemoteFailure : std::exception {
    // The organisation requires authorising the token for SAML single
    // sign-on; `url` is the authorisation address when git printed one.
    struct SsoRequired {
        std::optional<std::string> url;
        bool operator==(const SsoRequired&) const = default;
    };
    // The repository moved; `url` is its new address when git printed one.
    struct RepositoryMoved {
        std::optional<std::string> url;
        bool operator==(const RepositoryMoved&) const = default;
    };
    // Not recognised; `message` is git's own message (may be empty).
    struct Other {
        std::string message;
        bool operator==(const Other&) const = default;
    };
    // credentials were rejected
    struct AuthenticationFailed {
        bool operator==(const AuthenticationFailed&) const = default;
    };
    // no write permission on the repository
    struct PermissionDenied {
        bool operator==(const PermissionDenied&) const = default;
    };
    // the remote repository was not found
    struct RepositoryNotFound {
        bool operator==(const RepositoryNotFound&) const = default;
    };
    // the server cannot be reached
    struct NetworkUnavailable {
        bool operator==(const NetworkUnavailable&) const = default;
    };
    // the push was rejected: the remote has commits the local branch lacks
    struct NonFastForward {
        bool operator==(const NonFastForward&) const = default;
    };
    // pull refused: local and remote histories diverged
    struct DivergentBranches {
        bool operator==(const DivergentBranches&) const = default;
    };
    // the branch has no upstream (not published yet)
    struct NoUpstream {
        bool operator==(const NoUpstream&) const = default;
    };
    // the repository has no remote at all
    struct NoRemote {
        bool operator==(const NoRemote&) const = default;
    };
    // a server-side hook or branch protection rule rejected the push
    struct HookRejected {
        bool operator==(const HookRejected&) const = default;
    };
    // the server rejected the SSH key
    struct SshKeyMissing {
        bool operator==(const SshKeyMissing&) const = default;
    };
    // SSH host-key verification failed
    struct HostKeyChanged {
        bool operator==(const HostKeyChanged&) const = default;
    };
    // the repository needs Git LFS and it is not installed
    struct LfsMissing {
        bool operator==(const LfsMissing&) const = default;
    };
    // the commit could not be signed
    struct SigningFailed {
        bool operator==(const SigningFailed&) const = default;
    };

    using Value = std::variant<SsoRequired, RepositoryMoved, Other, AuthenticationFailed, PermissionDenied,
                               RepositoryNotFound, NetworkUnavailable, NonFastForward, DivergentBranches, NoUpstream,
                               NoRemote, HookRejected, SshKeyMissing, HostKeyChanged, LfsMissing, SigningFailed>;
    static constexpr std::size_t caseCount = std::variant_size_v<Value>;
    Value value;

    explicit RemoteFailure(Value value) : value(std::move(value)) {}

    static RemoteFailure ssoRequired(std::optional<std::string> url) {
        return RemoteFailure(SsoRequired{std::move(url)});
    }
    static RemoteFailure repositoryMoved(std::optional<std::string> url) {
        return RemoteFailure(RepositoryMoved{std::move(url)});
    }
    static RemoteFailure other(std::string message) { return RemoteFailure(Other{std::move(message)}); }
    static RemoteFailure authenticationFailed() { return RemoteFailure(AuthenticationFailed{}); }
    static RemoteFailure permissionDenied() { return RemoteFailure(PermissionDenied{}); }
    static RemoteFailure repositoryNotFound() { return RemoteFailure(RepositoryNotFound{}); }
    static RemoteFailure networkUnavailable() { return RemoteFailure(NetworkUnavailable{}); }
    static RemoteFailure nonFastForward() { return RemoteFailure(NonFastForward{}); }
    static RemoteFailure divergentBranches() { return RemoteFailure(DivergentBranches{}); }
    static RemoteFailure noUpstream() { return RemoteFailure(NoUpstream{}); }
    static RemoteFailure noRemote() { return RemoteFailure(NoRemote{}); }
    static RemoteFailure hookRejected() { return RemoteFailure(HookRejected{}); }
    static RemoteFailure sshKeyMissing() { return RemoteFailure(SshKeyMissing{}); }
    static RemoteFailure hostKeyChanged() { return RemoteFailure(HostKeyChanged{}); }
    static RemoteFailure lfsMissing() { return RemoteFailure(LfsMissing{}); }
    static RemoteFailure signingFailed() { return RemoteFailure(SigningFailed{}); }

    const char* what() const noexcept override;
    std::string description() const;

    bool operator==(const RemoteFailure& other) const { return value == other.value; }
};

}  // namespace tarv::core
