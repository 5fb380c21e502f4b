#pragma once

#include <string>
#include <variant>

#include "TarvTerminal/Geometry/Size.hpp"
#include "TarvTerminal/Input/KeyEvent.hpp"
#include "TarvTerminal/Input/MouseEvent.hpp"

namespace tarv::terminal {

// One piece of terminal input: decoded keys, mouse reports, pastes and focus
// changes, plus the window size changes and termination that the input pump
// adds.
struct InputEvent {
    struct Key {
        KeyEvent event;
        bool operator==(const Key&) const = default;
    };
    struct Mouse {
        MouseEvent event;
        bool operator==(const Mouse&) const = default;
    };
    // The whole text of one bracketed paste, UTF-8 (invalid bytes repaired).
    struct Paste {
        std::string text;
        bool operator==(const Paste&) const = default;
    };
    // True when the terminal window gains focus, false when it loses it.
    struct Focus {
        bool gained = false;
        bool operator==(const Focus&) const = default;
    };
    // The new window size, both sides greater than 0.
    struct Resize {
        Size size;
        bool operator==(const Resize&) const = default;
    };
    // The process was asked to end, or standard input ended or failed.
    struct Terminate {
        bool operator==(const Terminate&) const = default;
    };

    std::variant<Key, Mouse, Paste, Focus, Resize, Terminate> value;

    static InputEvent key(KeyEvent e) { return InputEvent{Key{std::move(e)}}; }
    static InputEvent mouse(MouseEvent e) { return InputEvent{Mouse{std::move(e)}}; }
    static InputEvent paste(std::string text) { return InputEvent{Paste{std::move(text)}}; }
    static InputEvent focus(bool gained) { return InputEvent{Focus{gained}}; }
    static InputEvent resize(Size size) { return InputEvent{Resize{size}}; }
    static InputEvent terminate() { return InputEvent{Terminate{}}; }

    template <class T>
    bool is() const { return std::holds_alternative<T>(value); }
    template <class T>
    const T* get() const { return std::get_if<T>(&value); }

    bool operator==(const InputEvent&) const = default;
};

}  // namespace tarv::terminal
