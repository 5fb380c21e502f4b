#pragma once

#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/GitHubRepository.hpp"

namespace tarv::features {

// The signed-in user's repositories offered by the clone prompt.
struct GitHubRepositoryList {
    // In the hosting client's order.
    struct Loaded {
        std::vector<core::GitHubRepository> repositories;
        bool operator==(const Loaded&) const = default;
    };
    struct Failed {
        core::Text message;
        bool operator==(const Failed&) const = default;
    };
    // Nobody is signed in: only a typed address can be cloned.
    struct SignedOut {
        bool operator==(const SignedOut&) const = default;
    };
    struct Loading {
        bool operator==(const Loading&) const = default;
    };

    using Value = std::variant<Loaded, Failed, SignedOut, Loading>;
    Value value;

    // Signed out.
    GitHubRepositoryList() : value(SignedOut{}) {}
    template <class Case>
        requires std::is_constructible_v<Value, Case&&>
    GitHubRepositoryList(Case&& list) : value(std::forward<Case>(list)) {}  // NOLINT: implicit on purpose

    static GitHubRepositoryList loaded(std::vector<core::GitHubRepository> repositories) {
        return Loaded{std::move(repositories)};
    }
    static GitHubRepositoryList failed(core::Text message) { return Failed{std::move(message)}; }
    static GitHubRepositoryList signedOut() { return SignedOut{}; }
    static GitHubRepositoryList loading() { return Loading{}; }

    // The repositories of `loaded`; empty for every other case.
    const std::vector<core::GitHubRepository>& items() const;

    // What the prompt offers for the typed text: nothing while an address is
    // being typed (the trimmed text holds "://" or "@"), every loaded
    // repository for a blank text, else the loaded repositories whose
    // lower-cased full name contains the trimmed, lower-cased text, in list
    // order.
    std::vector<core::GitHubRepository> matching(std::string_view text) const;

    bool operator==(const GitHubRepositoryList&) const = default;
};

}  // namespace tarv::features
