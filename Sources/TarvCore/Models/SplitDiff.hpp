#pragma once

#include "TarvCore/Models/Diff.hpp"
#include "TarvCore/Models/LineRef.hpp"

#include <cstdint>
#include <map>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace tarv::core {

// The lines of one Diff arranged in two columns: old file on the left, new
// file on the right. Context lines stand on both sides of one row; a run of
// removed lines is set beside the run of added lines that follows it.
struct SplitDiff {
    struct Row {
        // The header row of hunk `hunk`.
        struct Header {
            std::int64_t hunk = 0;
            bool operator==(const Header&) const = default;
        };
        // A body row; either side may be empty, never both.
        struct Pair {
            std::optional<LineRef> left;
            std::optional<LineRef> right;
            bool operator==(const Pair&) const = default;
        };

        using Value = std::variant<Header, Pair>;
        Value value;

        template <class Case>
            requires std::is_constructible_v<Value, Case&&>
        Row(Case&& row) : value(std::forward<Case>(row)) {}  // NOLINT: implicit on purpose

        static Row header(std::int64_t hunk) { return Header{hunk}; }
        static Row pair(std::optional<LineRef> left, std::optional<LineRef> right) { return Pair{left, right}; }

        bool operator==(const Row&) const = default;
    };

    std::vector<Row> rows;
    // For each hunk in order, the index in `rows` of its header row.
    std::vector<std::int64_t> hunkStarts;

    SplitDiff() = default;
    SplitDiff(std::vector<Row> rows, std::vector<std::int64_t> hunkStarts)
        : rows(std::move(rows)), hunkStarts(std::move(hunkStarts)) {}
    explicit SplitDiff(const Diff& diff);

    bool operator==(const SplitDiff&) const = default;

    // Which removed line is compared with which added line for word-level
    // emphasis, in both directions: the lines set side by side in one row of
    // `SplitDiff(diff)`, found without building the rows (a diff of millions
    // of lines costs no row per line).
    static std::map<LineRef, LineRef> wordPairs(const Diff& diff);
};

}  // namespace tarv::core
