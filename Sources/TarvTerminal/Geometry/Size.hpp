#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace tarv::terminal {

// A size in cells: `width` columns by `height` rows, stored as given.
struct Size {
    std::int64_t width = 0;
    std::int64_t height = 0;

    bool operator==(const Size&) const = default;
};

}  // namespace tarv::terminal

template <>
struct std::hash<tarv::terminal::Size> {
    std::size_t operator()(const tarv::terminal::Size& s) const noexcept {
        std::size_t h = std::hash<std::int64_t>{}(s.width);
        return h ^ (std::hash<std::int64_t>{}(s.height) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
    }
};
