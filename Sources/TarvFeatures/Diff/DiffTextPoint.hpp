#pragma once

#include <compare>
#include <cstdint>

namespace tarv::features {

// A position in the drawn rows of a diff pane, for mouse text selection.
// Ordered by row, then column; the side takes no part in the order (two
// points on different sides of one row and column are neither before nor
// after each other), but it does in equality.
struct DiffTextPoint {
    std::int64_t row = 0;
    // 0: the left or only column; 1: the right column of the side-by-side view.
    std::int64_t side = 0;
    std::int64_t column = 0;

    bool operator==(const DiffTextPoint&) const = default;
    friend constexpr std::weak_ordering operator<=>(const DiffTextPoint& a, const DiffTextPoint& b) {
        if (auto byRow = a.row <=> b.row; byRow != 0) return byRow;
        return a.column <=> b.column;
    }
};

}  // namespace tarv::features
