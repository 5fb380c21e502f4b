#include "TarvTerminal/Geometry/Layout.hpp"

#include <algorithm>

namespace tarv::terminal::Layout {

std::vector<Rect> split(const Rect& rect, Axis axis, const std::vector<Constraint>& constraints) {
    std::vector<Rect> result;
    if (constraints.empty()) return result;

    const std::int64_t total = axis == Axis::horizontal ? rect.size.width : rect.size.height;
    std::int64_t remaining = total;
    std::int64_t totalWeight = 0;
    std::vector<std::int64_t> sizes(constraints.size(), 0);

    for (std::size_t i = 0; i < constraints.size(); ++i) {
        if (const auto* length = std::get_if<Constraint::Length>(&constraints[i].value)) {
            const std::int64_t amount = std::max<std::int64_t>(0, std::min(remaining, length->cells));
            sizes[i] = amount;
            remaining -= amount;
        } else {
            totalWeight += std::max<std::int64_t>(std::get<Constraint::Fill>(constraints[i].value).weight, 1);
        }
    }

    if (totalWeight >= 1) {
        const std::int64_t pool = remaining;
        std::int64_t leftover = pool;
        std::size_t lastFill = constraints.size();
        for (std::size_t i = 0; i < constraints.size(); ++i) {
            if (const auto* fill = std::get_if<Constraint::Fill>(&constraints[i].value)) {
                const std::int64_t share = pool * std::max<std::int64_t>(fill->weight, 1) / totalWeight;
                sizes[i] = share;
                leftover -= share;
                lastFill = i;
            }
        }
        sizes[lastFill] += leftover;
    }

    result.reserve(constraints.size());
    std::int64_t position = axis == Axis::horizontal ? rect.minX() : rect.minY();
    for (std::int64_t size : sizes) {
        if (axis == Axis::horizontal) {
            result.emplace_back(position, rect.minY(), size, rect.size.height);
        } else {
            result.emplace_back(rect.minX(), position, rect.size.width, size);
        }
        position += size;
    }
    return result;
}

Rect RowStack::take(std::int64_t count) {
    const std::int64_t rows = std::max<std::int64_t>(count, 0);
    const Rect taken(area_.minX(), area_.minY() + fromTop_, area_.size.width, rows);
    fromTop_ += rows;
    return taken;
}

void RowStack::skip(std::int64_t count) { take(count); }

Rect RowStack::takeBottom(std::int64_t count) {
    const std::int64_t rows = std::max<std::int64_t>(count, 0);
    fromBottom_ += rows;
    return Rect(area_.minX(), area_.maxY() - fromBottom_, area_.size.width, rows);
}

void RowStack::skipBottom(std::int64_t count) { takeBottom(count); }

Rect RowStack::rest() const {
    return Rect(area_.minX(), area_.minY() + fromTop_, area_.size.width, area_.size.height - fromTop_ - fromBottom_);
}

}  // namespace tarv::terminal::Layout
