#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <variant>

namespace tarv::terminal {

// A colour of one layer of a cell: an entry of the 256-colour palette, a
// 24-bit colour, or the terminal's own default for that layer.
struct Color {
    struct Indexed {
        std::uint8_t index = 0;
        bool operator==(const Indexed&) const = default;
    };
    struct Rgb {
        std::uint8_t red = 0;
        std::uint8_t green = 0;
        std::uint8_t blue = 0;
        bool operator==(const Rgb&) const = default;
    };
    struct Default {
        bool operator==(const Default&) const = default;
    };

    std::variant<Default, Indexed, Rgb> value;

    static constexpr Color indexed(std::uint8_t index) { return Color{Indexed{index}}; }
    static constexpr Color rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
        return Color{Rgb{red, green, blue}};
    }
    static constexpr Color defaultColor() { return Color{Default{}}; }
    // Red from bits 16-23, green from 8-15, blue from 0-7; the top byte is ignored.
    static constexpr Color hex(std::uint32_t value) {
        return rgb(static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                   static_cast<std::uint8_t>(value));
    }

    constexpr bool isDefault() const { return std::holds_alternative<Default>(value); }

    bool operator==(const Color&) const = default;
};

}  // namespace tarv::terminal

template <>
struct std::hash<tarv::terminal::Color> {
    std::size_t operator()(const tarv::terminal::Color& c) const noexcept {
        using C = tarv::terminal::Color;
        if (const auto* i = std::get_if<C::Indexed>(&c.value)) return 0x100u + i->index;
        if (const auto* r = std::get_if<C::Rgb>(&c.value)) {
            return 0x2000000u + (std::size_t{r->red} << 16) + (std::size_t{r->green} << 8) + r->blue;
        }
        return 0;
    }
};
