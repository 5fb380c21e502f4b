#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>

namespace tarv::terminal {

// The modifier keys held with a key or mouse report: an option set over an
// 8-bit raw value.
struct Modifiers {
    std::uint8_t rawValue = 0;

    static const Modifiers shift;    // 1
    static const Modifiers alt;      // 2
    static const Modifiers control;  // 4

    constexpr Modifiers() = default;
    constexpr explicit Modifiers(std::uint8_t raw) : rawValue(raw) {}
    constexpr Modifiers(std::initializer_list<Modifiers> members) {
        for (Modifiers m : members) rawValue = static_cast<std::uint8_t>(rawValue | m.rawValue);
    }

    constexpr bool isEmpty() const { return rawValue == 0; }
    constexpr bool contains(Modifiers other) const { return (rawValue & other.rawValue) == other.rawValue; }
    constexpr Modifiers unionWith(Modifiers o) const { return Modifiers(static_cast<std::uint8_t>(rawValue | o.rawValue)); }
    constexpr Modifiers intersection(Modifiers o) const { return Modifiers(static_cast<std::uint8_t>(rawValue & o.rawValue)); }
    constexpr void insert(Modifiers o) { rawValue = static_cast<std::uint8_t>(rawValue | o.rawValue); }
    constexpr void remove(Modifiers o) { rawValue = static_cast<std::uint8_t>(rawValue & ~o.rawValue); }

    constexpr Modifiers operator|(Modifiers o) const { return unionWith(o); }
    constexpr Modifiers operator&(Modifiers o) const { return intersection(o); }
    constexpr Modifiers& operator|=(Modifiers o) { insert(o); return *this; }

    bool operator==(const Modifiers&) const = default;
};

inline constexpr Modifiers Modifiers::shift{std::uint8_t{1}};
inline constexpr Modifiers Modifiers::alt{std::uint8_t{2}};
inline constexpr Modifiers Modifiers::control{std::uint8_t{4}};

}  // namespace tarv::terminal

template <>
struct std::hash<tarv::terminal::Modifiers> {
    std::size_t operator()(tarv::terminal::Modifiers m) const noexcept { return m.rawValue; }
};
