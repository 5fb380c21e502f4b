#pragma once

#include "TarvCore/Models/Diff.hpp"
#include "TarvCore/Models/LineRef.hpp"

#include <cstdint>
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

    // For each hunk in order, the index of its header row.
    std::vector<std::int64_t> hunkStarts;

    SplitDiff() = default;
    explicit SplitDiff(const Diff& diff);

    // The rows are not kept one by one (a row takes 56 bytes, and a diff of
    // millions of lines would need millions of them): the layout is kept as
    // its runs, a few per hunk, and a row is worked out when asked for.
    std::int64_t rowCount() const { return rowCount_; }
    // The row at `index`, 0 <= index < rowCount().
    Row row(std::int64_t index) const;

    bool operator==(const SplitDiff&) const = default;

private:
    // Consecutive rows of one hunk: its header, a run of context lines (the
    // same line on both sides), or a run of removed lines beside the run of
    // added lines that follows it. Both runs are contiguous in the hunk; the
    // shorter side is empty below its end.
    struct Run {
        enum class Kind : std::uint8_t { header, context, change };
        std::int64_t firstRow = 0;
        std::int64_t hunk = 0;
        Kind kind = Kind::header;
        std::int64_t left = 0;  // first line of the left side (context: of both)
        std::int64_t leftCount = 0;
        std::int64_t right = 0;
        std::int64_t rightCount = 0;

        std::int64_t rows() const;
        bool operator==(const Run&) const = default;
    };

    std::vector<Run> runs_;
    std::int64_t rowCount_ = 0;
};

}  // namespace tarv::core
