#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

#include "TarvCore/Models/HistoryEdit.hpp"
#include "TarvCore/Models/RepositoryOperation.hpp"

namespace tarv::features {

// The kind of history operation whose result comes back in
// `WorkspaceAction::OperationFinished`.
struct ReplayKind {
    struct Rebase {
        std::string onto;
        bool operator==(const Rebase&) const = default;
    };
    struct Edit {
        core::HistoryEdit edit;
        bool operator==(const Edit&) const = default;
    };
    // A continued merge, rebase, cherry-pick or revert.
    struct Continued {
        core::RepositoryOperation operation;
        bool operator==(const Continued&) const = default;
    };
    struct Revert {
        bool operator==(const Revert&) const = default;
    };
    struct CherryPick {
        bool operator==(const CherryPick&) const = default;
    };

    using Value = std::variant<Rebase, Edit, Continued, Revert, CherryPick>;
    Value value;

    template <class Case>
        requires std::is_constructible_v<Value, Case&&>
    ReplayKind(Case&& kind) : value(std::forward<Case>(kind)) {}  // NOLINT: implicit on purpose

    bool operator==(const ReplayKind&) const = default;
};

}  // namespace tarv::features
