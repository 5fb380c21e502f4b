#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <variant>

namespace tarv::terminal {

// Which key was pressed. `Character` holds one grapheme cluster as UTF-8.
struct KeyCode {
    struct Character {
        std::string value;
        bool operator==(const Character&) const = default;
    };
    struct Function {  // F1 ... F12 as 1 ... 12
        std::int64_t number = 0;
        bool operator==(const Function&) const = default;
    };
#define TARV_TERMINAL_KEY(Name) \
    struct Name {               \
        bool operator==(const Name&) const = default; \
    };
    TARV_TERMINAL_KEY(Enter)
    TARV_TERMINAL_KEY(Tab)
    TARV_TERMINAL_KEY(BackTab)
    TARV_TERMINAL_KEY(Escape)
    TARV_TERMINAL_KEY(Backspace)
    TARV_TERMINAL_KEY(Delete)
    TARV_TERMINAL_KEY(Insert)
    TARV_TERMINAL_KEY(Up)
    TARV_TERMINAL_KEY(Down)
    TARV_TERMINAL_KEY(Left)
    TARV_TERMINAL_KEY(Right)
    TARV_TERMINAL_KEY(Home)
    TARV_TERMINAL_KEY(End)
    TARV_TERMINAL_KEY(PageUp)
    TARV_TERMINAL_KEY(PageDown)
#undef TARV_TERMINAL_KEY

    using Value = std::variant<Character, Function, Enter, Tab, BackTab, Escape, Backspace, Delete, Insert, Up,
                               Down, Left, Right, Home, End, PageUp, PageDown>;
    Value value;

    static KeyCode character(std::string text) { return KeyCode{Character{std::move(text)}}; }
    static KeyCode function(std::int64_t number) { return KeyCode{Function{number}}; }
    static KeyCode enter() { return KeyCode{Enter{}}; }
    static KeyCode tab() { return KeyCode{Tab{}}; }
    static KeyCode backTab() { return KeyCode{BackTab{}}; }
    static KeyCode escape() { return KeyCode{Escape{}}; }
    static KeyCode backspace() { return KeyCode{Backspace{}}; }
    // Forward Delete (`delete` is a C++ keyword).
    static KeyCode deleteKey() { return KeyCode{Delete{}}; }
    static KeyCode insert() { return KeyCode{Insert{}}; }
    static KeyCode up() { return KeyCode{Up{}}; }
    static KeyCode down() { return KeyCode{Down{}}; }
    static KeyCode left() { return KeyCode{Left{}}; }
    static KeyCode right() { return KeyCode{Right{}}; }
    static KeyCode home() { return KeyCode{Home{}}; }
    static KeyCode end() { return KeyCode{End{}}; }
    static KeyCode pageUp() { return KeyCode{PageUp{}}; }
    static KeyCode pageDown() { return KeyCode{PageDown{}}; }

    template <class T>
    bool is() const { return std::holds_alternative<T>(value); }
    // The character's text, or null for every other key.
    const std::string* characterText() const {
        const auto* c = std::get_if<Character>(&value);
        return c ? &c->value : nullptr;
    }

    bool operator==(const KeyCode&) const = default;
};

}  // namespace tarv::terminal

template <>
struct std::hash<tarv::terminal::KeyCode> {
    std::size_t operator()(const tarv::terminal::KeyCode& k) const noexcept {
        using K = tarv::terminal::KeyCode;
        std::size_t h = k.value.index() * 0x9e3779b97f4a7c15ULL;
        if (const auto* c = std::get_if<K::Character>(&k.value)) h ^= std::hash<std::string>{}(c->value);
        if (const auto* f = std::get_if<K::Function>(&k.value)) h ^= std::hash<std::int64_t>{}(f->number) << 1;
        return h;
    }
};
