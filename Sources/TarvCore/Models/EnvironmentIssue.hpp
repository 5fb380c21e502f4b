#pragma once

#include <type_traits>
#include <utility>
#include <variant>

#include "TarvCore/Models/GitVersion.hpp"

namespace tarv::core {

// A problem of the git set-up that onboarding reports.
struct EnvironmentIssue {
    struct GitTooOld {
        GitVersion found;
        GitVersion minimum;
        bool operator==(const GitTooOld&) const = default;
    };
    struct GitMissing {
        bool operator==(const GitMissing&) const = default;
    };
    struct IdentityMissing {
        bool operator==(const IdentityMissing&) const = default;
    };
    struct CredentialHelperMissing {
        bool operator==(const CredentialHelperMissing&) const = default;
    };
    struct DefaultBranchUnset {
        bool operator==(const DefaultBranchUnset&) const = default;
    };

    using Value = std::variant<GitTooOld, GitMissing, IdentityMissing, CredentialHelperMissing, DefaultBranchUnset>;
    Value value;

    template <class Case>
        requires std::is_constructible_v<Value, Case&&>
    EnvironmentIssue(Case&& issue) : value(std::forward<Case>(issue)) {}  // NOLINT: implicit on purpose

    static EnvironmentIssue gitTooOld(GitVersion found, GitVersion minimum) { return GitTooOld{found, minimum}; }
    static EnvironmentIssue gitMissing() { return GitMissing{}; }
    static EnvironmentIssue identityMissing() { return IdentityMissing{}; }
    static EnvironmentIssue credentialHelperMissing() { return CredentialHelperMissing{}; }
    static EnvironmentIssue defaultBranchUnset() { return DefaultBranchUnset{}; }

    bool operator==(const EnvironmentIssue&) const = default;
};

}  // namespace tarv::core
