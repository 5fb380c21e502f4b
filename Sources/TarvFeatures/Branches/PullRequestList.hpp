#pragma once

#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/PullRequest.hpp"

namespace tarv::features {

// The pull-request tab of the branch picker.
struct PullRequestList {
    // The open pull requests, in the hosting client's order.
    struct Loaded {
        std::vector<core::PullRequest> pullRequests;
        bool operator==(const Loaded&) const = default;
    };
    struct Failed {
        core::Text message;
        bool operator==(const Failed&) const = default;
    };
    // Nothing requested yet.
    struct Idle {
        bool operator==(const Idle&) const = default;
    };
    // On the hosting service, but nobody is signed in.
    struct SignedOut {
        bool operator==(const SignedOut&) const = default;
    };
    // No remote on the hosting service's web host.
    struct NotGitHub {
        bool operator==(const NotGitHub&) const = default;
    };
    struct Loading {
        bool operator==(const Loading&) const = default;
    };

    using Value = std::variant<Loaded, Failed, Idle, SignedOut, NotGitHub, Loading>;
    Value value;

    // Idle.
    PullRequestList() : value(Idle{}) {}
    template <class Case>
        requires std::is_constructible_v<Value, Case&&>
    PullRequestList(Case&& list) : value(std::forward<Case>(list)) {}  // NOLINT: implicit on purpose

    static PullRequestList loaded(std::vector<core::PullRequest> pullRequests) {
        return Loaded{std::move(pullRequests)};
    }
    static PullRequestList failed(core::Text message) { return Failed{std::move(message)}; }
    static PullRequestList idle() { return Idle{}; }
    static PullRequestList signedOut() { return SignedOut{}; }
    static PullRequestList notGitHub() { return NotGitHub{}; }
    static PullRequestList loading() { return Loading{}; }

    // The pull requests of `loaded`; empty for every other case.
    const std::vector<core::PullRequest>& items() const;

    bool operator==(const PullRequestList&) const = default;
};

}  // namespace tarv::features
