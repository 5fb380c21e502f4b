#pragma once

#include "TarvCore/Models/RepositoryEntry.hpp"

#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace tarv::core {

// A section of the repository picker.
struct RepoGroup {
    struct Kind {
        // The repositories of one owner on the hosting service (name as parsed).
        struct Owner {
            std::string name;
            bool operator==(const Owner&) const = default;
        };
        // The most recently opened repositories.
        struct Recent { bool operator==(const Recent&) const = default; };
        // Everything without a parsable remote owner.
        struct Other { bool operator==(const Other&) const = default; };

        using Value = std::variant<Owner, Recent, Other>;
        Value value;

        template <class Case>
            requires std::is_constructible_v<Value, Case&&>
        Kind(Case&& kind) : value(std::forward<Case>(kind)) {}  // NOLINT: implicit on purpose

        static Kind owner(std::string name) { return Owner{std::move(name)}; }
        static Kind recent() { return Recent{}; }
        static Kind other() { return Other{}; }

        bool operator==(const Kind&) const = default;
    };

    Kind kind;
    // In display order.
    std::vector<RepositoryEntry> entries;

    bool operator==(const RepoGroup&) const = default;
};

}  // namespace tarv::core
