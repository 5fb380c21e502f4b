#pragma once

#include <cstdint>

#include "TarvTerminal/Geometry/Rect.hpp"

namespace tarv::ui {

// Where the parts of a diff row go inside the diff pane, in the unified and
// the side-by-side layout. All positions are columns; the unified ones count
// from the pane's left edge.
struct DiffGeometry {
    // Unified layout: cursor mark at column 0, check box at 1, the old number
    // from `prefix` and the new one from prefix + numberWidth + 1, the marker
    // at prefix + 2 * numberWidth + 2, the text from `gutter`.
    struct Unified {
        std::int64_t numberWidth = 1;  // W: digits of the largest line number
        std::int64_t prefix = 1;       // P: 3 with check boxes, else 1
        std::int64_t gutter = 0;       // G = P + 2W + 4
        std::int64_t content = 0;      // C: pane width less the scroll bar's column
        std::int64_t text = 0;         // T = max(0, C - G)
        bool scrollBar = false;

        std::int64_t oldNumberColumn() const { return prefix; }
        std::int64_t newNumberColumn() const { return prefix + numberWidth + 1; }
        std::int64_t markerColumn() const { return prefix + 2 * numberWidth + 2; }
        bool operator==(const Unified&) const = default;
    };

    // One half of the side-by-side layout: check box at column 1, number
    // from `prefix`, marker at prefix + numberWidth + 1, text from `gutter`.
    struct Side {
        terminal::Rect area;
        std::int64_t gutter = 0;  // g = min(P + W + 3, half width)
        std::int64_t text = 0;    // t = max(0, half width - g)
        bool operator==(const Side&) const = default;
    };

    // Side-by-side layout: the left (old) half, the divider column, the right
    // (new) half. The right half takes the odd column of an even width.
    struct Split {
        std::int64_t numberWidth = 1;
        std::int64_t prefix = 1;
        std::int64_t content = 0;
        bool scrollBar = false;
        Side left;
        std::int64_t divider = 0;  // screen column
        Side right;
        bool operator==(const Split&) const = default;
    };

    // Digits in the decimal form of n (1 for n below 10, 0 and negatives too).
    static std::int64_t digits(std::int64_t n);

    static Unified unified(const terminal::Rect& pane, std::int64_t rowCount, std::int64_t maxLineNumber,
                           bool withSelection);
    static Split split(const terminal::Rect& pane, std::int64_t rowCount, std::int64_t maxLineNumber,
                       bool withSelection);
};

}  // namespace tarv::ui
