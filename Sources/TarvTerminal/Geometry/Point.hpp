#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace tarv::terminal {

// A cell position: 0-based column `x` (growing right) and row `y` (growing
// down). Values are stored as given, negative ones included.
struct Point {
    std::int64_t x = 0;
    std::int64_t y = 0;

    bool operator==(const Point&) const = default;
};

}  // namespace tarv::terminal

template <>
struct std::hash<tarv::terminal::Point> {
    std::size_t operator()(const tarv::terminal::Point& p) const noexcept {
        std::size_t h = std::hash<std::int64_t>{}(p.x);
        return h ^ (std::hash<std::int64_t>{}(p.y) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
    }
};
