#pragma once

#include <string>

#include "TarvTerminal/Input/KeyCode.hpp"
#include "TarvTerminal/Input/Modifiers.hpp"

namespace tarv::terminal {

// One key press. Equal only when the code (with its payload) and the exact
// modifier set are equal.
struct KeyEvent {
    KeyCode code;
    Modifiers modifiers{};

    static KeyEvent character(std::string text, Modifiers modifiers = {}) {
        return KeyEvent{KeyCode::character(std::move(text)), modifiers};
    }

    bool operator==(const KeyEvent&) const = default;
};

}  // namespace tarv::terminal
