#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "TarvCore/Models/LineRef.hpp"

namespace tarv::features {

// What one row of a diff pane stands for.
struct DiffRowTarget {
    // A hunk's header row.
    struct HunkHeader {
        std::int64_t hunk = 0;
        bool operator==(const HunkHeader&) const = default;
    };
    // The diff lines the row shows: none, one, or two (a side-by-side row
    // with a removed line beside an added one), left before right.
    struct Lines {
        std::vector<core::LineRef> refs;
        bool operator==(const Lines&) const = default;
    };

    using Value = std::variant<HunkHeader, Lines>;
    Value value;

    template <class Case>
        requires std::is_constructible_v<Value, Case&&>
    DiffRowTarget(Case&& target) : value(std::forward<Case>(target)) {}  // NOLINT: implicit on purpose

    static DiffRowTarget hunkHeader(std::int64_t hunk) { return HunkHeader{hunk}; }
    static DiffRowTarget lines(std::vector<core::LineRef> refs) { return Lines{std::move(refs)}; }

    bool operator==(const DiffRowTarget&) const = default;
};

}  // namespace tarv::features
