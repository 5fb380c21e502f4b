#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "TarvTerminal/Geometry/Point.hpp"
#include "TarvTerminal/Geometry/Size.hpp"

namespace tarv::terminal {

// A rectangle of cells covering the columns minX ..< maxX and the rows
// minY ..< maxY. The constructor raises a negative width or height to 0;
// the members themselves store whatever is assigned to them.
struct Rect {
    Point origin;
    Size size;

    constexpr Rect() = default;
    constexpr Rect(Point origin, Size size) : origin(origin), size(size) {}
    constexpr Rect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height)
        : origin{x, y}, size{width < 0 ? 0 : width, height < 0 ? 0 : height} {}

    constexpr std::int64_t minX() const { return origin.x; }
    constexpr std::int64_t minY() const { return origin.y; }
    constexpr std::int64_t maxX() const { return origin.x + size.width; }
    constexpr std::int64_t maxY() const { return origin.y + size.height; }
    constexpr bool isEmpty() const { return size.width <= 0 || size.height <= 0; }

    constexpr bool contains(Point p) const {
        return minX() <= p.x && p.x < maxX() && minY() <= p.y && p.y < maxY();
    }

    // The overlap of both rectangles. Without overlap the result keeps the
    // computed origin and has a zero width or height.
    Rect intersection(const Rect& other) const;

    // Shrinks by `amount` on every side (grows for a negative amount).
    Rect inset(std::int64_t amount) const;

    bool operator==(const Rect&) const = default;
};

}  // namespace tarv::terminal

template <>
struct std::hash<tarv::terminal::Rect> {
    std::size_t operator()(const tarv::terminal::Rect& r) const noexcept {
        std::size_t h = 0;
        for (std::int64_t v : {r.origin.x, r.origin.y, r.size.width, r.size.height}) {
            h ^= std::hash<std::int64_t>{}(v) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
        }
        return h;
    }
};
