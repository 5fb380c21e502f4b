#pragma once

#include <array>
#include <variant>

#include "TarvTerminal/Geometry/Point.hpp"
#include "TarvTerminal/Input/Modifiers.hpp"

namespace tarv::terminal {

// One mouse report at a zero-based cell position (never negative).
struct MouseEvent {
    enum class Button { left, middle, right };
    enum class Direction { up, down, left, right };

    struct Press {
        Button button;
        bool operator==(const Press&) const = default;
    };
    struct Drag {
        Button button;
        bool operator==(const Drag&) const = default;
    };
    struct Scroll {
        Direction direction;
        bool operator==(const Scroll&) const = default;
    };
    struct Release {
        bool operator==(const Release&) const = default;
    };
    struct Move {
        bool operator==(const Move&) const = default;
    };

    // What happened: a button went down, the pointer moved with a button
    // held, one wheel step, a button went up (which one is not reported), or
    // the pointer moved with no button held.
    struct Kind {
        std::variant<Press, Drag, Scroll, Release, Move> value;

        static Kind press(Button b) { return Kind{Press{b}}; }
        static Kind drag(Button b) { return Kind{Drag{b}}; }
        static Kind scroll(Direction d) { return Kind{Scroll{d}}; }
        static Kind release() { return Kind{Release{}}; }
        static Kind move() { return Kind{Move{}}; }

        template <class T>
        bool is() const { return std::holds_alternative<T>(value); }

        bool operator==(const Kind&) const = default;
    };

    Kind kind;
    Point position;
    Modifiers modifiers{};

    bool operator==(const MouseEvent&) const = default;
};

inline constexpr std::array<MouseEvent::Button, 3> allMouseButtons{
    MouseEvent::Button::left, MouseEvent::Button::middle, MouseEvent::Button::right};
inline constexpr std::array<MouseEvent::Direction, 4> allMouseDirections{
    MouseEvent::Direction::up, MouseEvent::Direction::down, MouseEvent::Direction::left,
    MouseEvent::Direction::right};

}  // namespace tarv::terminal
