#pragma once

#include <cstdint>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "TarvCore/Models/Diff.hpp"
#include "TarvCore/Models/LineRef.hpp"

// Row arithmetic of the unified diff layout: rows count from 0; each hunk
// takes one header row followed by one row per line (no-newline markers
// included), hunks one after another.
namespace tarv::features::DiffRows {

// What a unified row is.
struct Kind {
    struct HunkHeader {
        std::int64_t hunk = 0;
        bool operator==(const HunkHeader&) const = default;
    };
    struct Line {
        core::LineRef ref;
        bool operator==(const Line&) const = default;
    };

    using Value = std::variant<HunkHeader, Line>;
    Value value;

    template <class Case>
        requires std::is_constructible_v<Value, Case&&>
    Kind(Case&& kind) : value(std::forward<Case>(kind)) {}  // NOLINT: implicit on purpose

    static Kind hunkHeader(std::int64_t hunk) { return HunkHeader{hunk}; }
    static Kind line(core::LineRef ref) { return Line{ref}; }

    bool operator==(const Kind&) const = default;
};

// The kind of row `row`; none for a row before the first (negative) or
// after the last.
std::optional<Kind> kind(std::int64_t row, const core::Diff& diff);

// The row of a line: the rows of the hunks before `ref.hunk` (at most all
// hunks; a negative hunk counts none), plus its header row, plus `ref.line`.
std::int64_t row(core::LineRef ref, const core::Diff& diff);

// The header row of each hunk, in order.
std::vector<std::int64_t> hunkStarts(const core::Diff& diff);

}  // namespace tarv::features::DiffRows
