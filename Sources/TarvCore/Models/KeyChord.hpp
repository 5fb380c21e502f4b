#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace tarv::core {

// A key with its Control and Alt modifiers: the unit in which keys are bound
// to commands. There is no Shift flag: Shift only turns a letter into its
// upper-case character when a chord is parsed.
struct KeyChord {
    struct Key {
        // One user-perceived character, exactly as written (letter case matters).
        struct Character {
            std::string value;
            bool operator==(const Character&) const = default;
        };
        // F1 to F12.
        struct Function {
            std::int64_t number = 1;
            bool operator==(const Function&) const = default;
        };
        struct Enter { bool operator==(const Enter&) const = default; };
        struct Tab { bool operator==(const Tab&) const = default; };
        struct Escape { bool operator==(const Escape&) const = default; };
        struct Backspace { bool operator==(const Backspace&) const = default; };
        struct Delete { bool operator==(const Delete&) const = default; };
        struct Space { bool operator==(const Space&) const = default; };
        struct Up { bool operator==(const Up&) const = default; };
        struct Down { bool operator==(const Down&) const = default; };
        struct Left { bool operator==(const Left&) const = default; };
        struct Right { bool operator==(const Right&) const = default; };
        struct Home { bool operator==(const Home&) const = default; };
        struct End { bool operator==(const End&) const = default; };
        struct PageUp { bool operator==(const PageUp&) const = default; };
        struct PageDown { bool operator==(const PageDown&) const = default; };

        using Value = std::variant<Character, Function, Enter, Tab, Escape, Backspace, Delete, Space,
                                   Up, Down, Left, Right, Home, End, PageUp, PageDown>;
        Value value;

        Key() : value(Character{}) {}
        template <class Case>
            requires std::is_constructible_v<Value, Case&&>
        Key(Case&& key) : value(std::forward<Case>(key)) {}  // NOLINT: implicit on purpose

        static Key character(std::string text) { return Key(Character{std::move(text)}); }
        static Key function(std::int64_t number) { return Key(Function{number}); }

        bool operator==(const Key&) const = default;
    };

    Key key;
    bool control = false;
    bool alt = false;

    KeyChord() = default;
    KeyChord(Key key, bool control = false, bool alt = false)  // NOLINT: implicit on purpose
        : key(std::move(key)), control(control), alt(alt) {}

    bool operator==(const KeyChord&) const = default;
};

}  // namespace tarv::core

template <>
struct std::hash<tarv::core::KeyChord::Key> {
    std::size_t operator()(const tarv::core::KeyChord::Key& key) const noexcept;
};

template <>
struct std::hash<tarv::core::KeyChord> {
    std::size_t operator()(const tarv::core::KeyChord& chord) const noexcept;
};
