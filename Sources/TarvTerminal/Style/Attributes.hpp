#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>

namespace tarv::terminal {

// A set of text attributes over an 8-bit raw value. The renderer emits their
// SGR codes in the order of the bit values.
struct Attributes {
    std::uint8_t rawValue = 0;

    static const Attributes bold;           // SGR 1
    static const Attributes dim;            // SGR 2
    static const Attributes italic;         // SGR 3
    static const Attributes underline;      // SGR 4
    static const Attributes inverse;        // SGR 7
    static const Attributes strikethrough;  // SGR 9

    constexpr Attributes() = default;
    constexpr explicit Attributes(std::uint8_t raw) : rawValue(raw) {}
    constexpr Attributes(std::initializer_list<Attributes> members) {
        for (Attributes m : members) rawValue = static_cast<std::uint8_t>(rawValue | m.rawValue);
    }

    constexpr bool isEmpty() const { return rawValue == 0; }
    constexpr bool contains(Attributes other) const { return (rawValue & other.rawValue) == other.rawValue; }
    constexpr bool isSubset(Attributes other) const { return (rawValue & other.rawValue) == rawValue; }
    constexpr bool isSuperset(Attributes other) const { return contains(other); }
    constexpr Attributes unionWith(Attributes o) const { return Attributes(static_cast<std::uint8_t>(rawValue | o.rawValue)); }
    constexpr Attributes intersection(Attributes o) const { return Attributes(static_cast<std::uint8_t>(rawValue & o.rawValue)); }
    constexpr Attributes symmetricDifference(Attributes o) const { return Attributes(static_cast<std::uint8_t>(rawValue ^ o.rawValue)); }
    constexpr void insert(Attributes o) { rawValue = static_cast<std::uint8_t>(rawValue | o.rawValue); }
    constexpr void remove(Attributes o) { rawValue = static_cast<std::uint8_t>(rawValue & ~o.rawValue); }

    constexpr Attributes operator|(Attributes o) const { return unionWith(o); }
    constexpr Attributes operator&(Attributes o) const { return intersection(o); }
    constexpr Attributes operator^(Attributes o) const { return symmetricDifference(o); }
    constexpr Attributes& operator|=(Attributes o) { insert(o); return *this; }

    bool operator==(const Attributes&) const = default;
};

inline constexpr Attributes Attributes::bold{std::uint8_t{1}};
inline constexpr Attributes Attributes::dim{std::uint8_t{2}};
inline constexpr Attributes Attributes::italic{std::uint8_t{4}};
inline constexpr Attributes Attributes::underline{std::uint8_t{8}};
inline constexpr Attributes Attributes::inverse{std::uint8_t{16}};
inline constexpr Attributes Attributes::strikethrough{std::uint8_t{32}};

}  // namespace tarv::terminal

template <>
struct std::hash<tarv::terminal::Attributes> {
    std::size_t operator()(tarv::terminal::Attributes a) const noexcept { return a.rawValue; }
};
