#pragma once

#include <cstdint>
#include <optional>

#include "TarvFeatures/Diff/DiffTextPoint.hpp"

namespace tarv::features {

// A mouse text selection in a diff pane: where the drag began and where it
// is now. It belongs to the side where it began.
struct DiffTextSelection {
    // Columns [lower, upper) of one drawn row.
    struct Columns {
        std::int64_t lower = 0;
        std::int64_t upper = 0;
        bool operator==(const Columns&) const = default;
    };

    DiffTextPoint anchor;
    DiffTextPoint head;

    // The earlier of anchor and head (anchor when neither is earlier).
    const DiffTextPoint& start() const { return head < anchor ? head : anchor; }
    // The other one.
    const DiffTextPoint& end() const { return head < anchor ? anchor : head; }
    // Anchor and head are equal in row, side and column.
    bool isEmpty() const { return anchor == head; }

    // The columns of row `row` on side `side` that the selection covers, for
    // a row drawn `width` columns wide; none when it covers nothing there
    // (another side, an empty selection, a row outside it, an empty range).
    std::optional<Columns> columns(std::int64_t row, std::int64_t side, std::int64_t width) const;

    bool operator==(const DiffTextSelection&) const = default;
};

}  // namespace tarv::features
