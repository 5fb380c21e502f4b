#pragma once

#include <cstdint>
#include <optional>

namespace tarv::core {

// The scroll offset and selection of a scrolling list. `itemCount` is the
// number of items, `viewport` the height in rows.
struct ListScroll {
    // A half-open range of item indexes.
    struct Range {
        std::int64_t lowerBound = 0;
        std::int64_t upperBound = 0;
        std::int64_t count() const { return upperBound - lowerBound; }
        bool isEmpty() const { return upperBound <= lowerBound; }
        bool operator==(const Range&) const = default;
    };

    // Index of the first visible item.
    std::int64_t offset = 0;
    // Index of the selected item; none when nothing is selected.
    std::optional<std::int64_t> selected = std::nullopt;

    // The visible items; the stored offset is not changed.
    Range visibleRange(std::int64_t itemCount, std::int64_t viewport) const;
    // Keeps the selection inside the list and the offset inside the range
    // it can take, and the selection visible.
    void clamp(std::int64_t itemCount, std::int64_t viewport);
    // Selects `index` (clamped) and scrolls it into view.
    void select(std::int64_t index, std::int64_t itemCount, std::int64_t viewport);
    // Moves the selection by `delta` (clamped, never wrapping); with nothing
    // selected a move down starts at the first item and a move up at the
    // last.
    void move(std::int64_t delta, std::int64_t itemCount, std::int64_t viewport);
    // Moves the offset by `delta`; the selection stays, even out of view.
    void scroll(std::int64_t delta, std::int64_t itemCount, std::int64_t viewport);

    bool operator==(const ListScroll&) const = default;

private:
    void scrollIntoView(std::int64_t index, std::int64_t itemCount, std::int64_t viewport);
};

}  // namespace tarv::core
