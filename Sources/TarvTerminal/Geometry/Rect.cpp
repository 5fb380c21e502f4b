#include "TarvTerminal/Geometry/Rect.hpp"

#include <algorithm>

namespace tarv::terminal {

Rect Rect::intersection(const Rect& other) const {
    const std::int64_t x = std::max(minX(), other.minX());
    const std::int64_t y = std::max(minY(), other.minY());
    const std::int64_t width = std::max<std::int64_t>(0, std::min(maxX(), other.maxX()) - x);
    const std::int64_t height = std::max<std::int64_t>(0, std::min(maxY(), other.maxY()) - y);
    return Rect(x, y, width, height);
}

Rect Rect::inset(std::int64_t amount) const {
    return Rect(origin.x + amount, origin.y + amount, size.width - 2 * amount, size.height - 2 * amount);
}

}  // namespace tarv::terminal
