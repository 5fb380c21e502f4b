#include "TarvCore/Models/ListScroll.hpp"

#include <algorithm>
#include <limits>

namespace tarv::core {

namespace {

// a + b without overflow: clamps at the ends of the range.
std::int64_t addClamped(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        return b > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    }
    return sum;
}

}  // namespace

void ListScroll::scrollIntoView(std::int64_t index, std::int64_t itemCount, std::int64_t viewport) {
    std::int64_t start = std::min(index, offset);
    if (index >= addClamped(start, viewport)) start = index - viewport + 1;
    offset = std::min(std::max(itemCount - viewport, std::int64_t{0}), std::max(start, std::int64_t{0}));
}

ListScroll::Range ListScroll::visibleRange(std::int64_t itemCount, std::int64_t viewport) const {
    if (itemCount == 0 || viewport < 1) return {0, 0};
    const std::int64_t start = std::min(std::max(itemCount - 1, std::int64_t{0}), std::max(offset, std::int64_t{0}));
    return {start, std::min(addClamped(start, viewport), itemCount)};
}

void ListScroll::clamp(std::int64_t itemCount, std::int64_t viewport) {
    if (itemCount == 0) {
        offset = 0;
        selected = std::nullopt;
        return;
    }
    if (selected) selected = std::min(itemCount - 1, std::max(*selected, std::int64_t{0}));
    offset = std::min(std::max(itemCount - std::max(viewport, std::int64_t{1}), std::int64_t{0}),
                      std::max(offset, std::int64_t{0}));
    if (selected && viewport >= 1) scrollIntoView(*selected, itemCount, viewport);
}

void ListScroll::select(std::int64_t index, std::int64_t itemCount, std::int64_t viewport) {
    if (itemCount < 1) {
        selected = std::nullopt;
        return;
    }
    selected = std::min(itemCount - 1, std::max(index, std::int64_t{0}));
    if (viewport >= 1) scrollIntoView(*selected, itemCount, viewport);
}

void ListScroll::move(std::int64_t delta, std::int64_t itemCount, std::int64_t viewport) {
    const std::int64_t base = selected.value_or(delta < 1 ? itemCount : -1);
    if (itemCount < 1) {
        selected = std::nullopt;
        return;
    }
    selected = std::min(itemCount - 1, std::max(addClamped(base, delta), std::int64_t{0}));
    if (viewport >= 1) scrollIntoView(*selected, itemCount, viewport);
}

void ListScroll::scroll(std::int64_t delta, std::int64_t itemCount, std::int64_t viewport) {
    offset = std::min(std::max(itemCount - std::max(viewport, std::int64_t{1}), std::int64_t{0}),
                      std::max(addClamped(offset, delta), std::int64_t{0}));
}

}  // namespace tarv::core
