#pragma once

#include <cstddef>
#include <functional>
#include <optional>

#include "TarvTerminal/Style/Attributes.hpp"
#include "TarvTerminal/Style/Color.hpp"

namespace tarv::terminal {

// What a cell looks like: foreground and background colour and attributes.
struct Style {
    Color foreground = Color::defaultColor();
    Color background = Color::defaultColor();
    Attributes attributes{};

    static const Style plain;

    // A copy in which each given colour replaces the current one and the
    // attributes gain `adding` (attributes are never removed this way).
    Style with(std::optional<Color> newForeground, std::optional<Color> newBackground,
               Attributes adding = {}) const {
        Style copy = *this;
        if (newForeground) copy.foreground = *newForeground;
        if (newBackground) copy.background = *newBackground;
        copy.attributes.insert(adding);
        return copy;
    }

    bool operator==(const Style&) const = default;
};

inline constexpr Style Style::plain{};

}  // namespace tarv::terminal

template <>
struct std::hash<tarv::terminal::Style> {
    std::size_t operator()(const tarv::terminal::Style& s) const noexcept {
        std::size_t h = std::hash<tarv::terminal::Color>{}(s.foreground);
        h ^= std::hash<tarv::terminal::Color>{}(s.background) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
        h ^= std::hash<tarv::terminal::Attributes>{}(s.attributes) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
        return h;
    }
};
