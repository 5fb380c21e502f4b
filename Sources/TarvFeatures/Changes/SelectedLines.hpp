#pragma once

#include <set>
#include <type_traits>
#include <utility>
#include <variant>

#include "TarvCore/Models/LineRef.hpp"

namespace tarv::features {

// How the selected file takes part in the next commit, line by line.
struct SelectedLines {
    // These lines only.
    struct Some {
        std::set<core::LineRef> lines;
        bool operator==(const Some&) const = default;
    };
    // Not at all.
    struct None {
        bool operator==(const None&) const = default;
    };
    // Every line.
    struct All {
        bool operator==(const All&) const = default;
    };

    using Value = std::variant<Some, None, All>;
    Value value;

    template <class Case>
        requires std::is_constructible_v<Value, Case&&>
    SelectedLines(Case&& selection) : value(std::forward<Case>(selection)) {}  // NOLINT: implicit on purpose

    static SelectedLines some(std::set<core::LineRef> lines) { return Some{std::move(lines)}; }
    static SelectedLines none() { return None{}; }
    static SelectedLines all() { return All{}; }

    // none: false; all: true; some: whether the set holds `ref`.
    bool contains(const core::LineRef& ref) const;

    bool operator==(const SelectedLines&) const = default;
};

}  // namespace tarv::features
