#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace tarv::core {

// A rewrite of recent history; each case names the commit it acts on.
struct HistoryEdit {
    // Fold the commit into its parent.
    struct SquashIntoParent {
        std::string commit;
        bool operator==(const SquashIntoParent&) const = default;
    };
    // Swap the commit with its newer neighbour.
    struct MoveUp {
        std::string commit;
        bool operator==(const MoveUp&) const = default;
    };
    // Swap the commit with its older neighbour.
    struct MoveDown {
        std::string commit;
        bool operator==(const MoveDown&) const = default;
    };

    using Value = std::variant<SquashIntoParent, MoveUp, MoveDown>;
    Value value;

    template <class Case>
        requires std::is_constructible_v<Value, Case&&>
    HistoryEdit(Case&& edit) : value(std::forward<Case>(edit)) {}  // NOLINT: implicit on purpose

    static HistoryEdit squashIntoParent(std::string commit) { return SquashIntoParent{std::move(commit)}; }
    static HistoryEdit moveUp(std::string commit) { return MoveUp{std::move(commit)}; }
    static HistoryEdit moveDown(std::string commit) { return MoveDown{std::move(commit)}; }

    bool operator==(const HistoryEdit&) const = default;
};

}  // namespace tarv::core
