#pragma once

#include <cstdint>

#include "TarvTerminal/Style/Color.hpp"

namespace tarv::ui {

// One colour of a theme palette: three bytes, always drawn as a 24-bit
// colour (the renderer downgrades it to what the terminal supports).
struct ThemeColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    constexpr ThemeColor() = default;
    constexpr ThemeColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
        : red(red), green(green), blue(blue) {}

    // 0xRRGGBB: red from bits 16-23, green from 8-15, blue from 0-7; the top
    // byte is ignored.
    static constexpr ThemeColor hex(std::uint32_t value) {
        return ThemeColor(static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                          static_cast<std::uint8_t>(value));
    }

    // The colour as a cell colour.
    constexpr terminal::Color color() const { return terminal::Color::rgb(red, green, blue); }

    bool operator==(const ThemeColor&) const = default;
};

}  // namespace tarv::ui
