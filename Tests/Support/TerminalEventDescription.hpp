#pragma once

// Readable descriptions of terminal input events for test failure messages.

#include <ostream>
#include <sstream>
#include <string>
#include <type_traits>
#include <variant>

#include "TarvTerminal/Input/InputEvent.hpp"

namespace tarv::terminal {

inline std::string describeModifiers(Modifiers m) {
    std::string out;
    if (m.contains(Modifiers::shift)) out += "shift+";
    if (m.contains(Modifiers::alt)) out += "alt+";
    if (m.contains(Modifiers::control)) out += "ctrl+";
    return out;
}

inline std::string describeKeyCode(const KeyCode& code) {
    using K = KeyCode;
    return std::visit(
        [](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, K::Character>) {
                std::string out = "'";
                for (unsigned char c : v.value) {
                    if (c < 0x20 || c == 0x7F) {
                        std::ostringstream hex;
                        hex << "\\x" << std::hex << int(c);
                        out += hex.str();
                    } else {
                        out.push_back(static_cast<char>(c));
                    }
                }
                return out + "'";
            } else if constexpr (std::is_same_v<T, K::Function>) {
                return "F" + std::to_string(v.number);
            } else if constexpr (std::is_same_v<T, K::Enter>) {
                return "enter";
            } else if constexpr (std::is_same_v<T, K::Tab>) {
                return "tab";
            } else if constexpr (std::is_same_v<T, K::BackTab>) {
                return "backTab";
            } else if constexpr (std::is_same_v<T, K::Escape>) {
                return "escape";
            } else if constexpr (std::is_same_v<T, K::Backspace>) {
                return "backspace";
            } else if constexpr (std::is_same_v<T, K::Delete>) {
                return "delete";
            } else if constexpr (std::is_same_v<T, K::Insert>) {
                return "insert";
            } else if constexpr (std::is_same_v<T, K::Up>) {
                return "up";
            } else if constexpr (std::is_same_v<T, K::Down>) {
                return "down";
            } else if constexpr (std::is_same_v<T, K::Left>) {
                return "left";
            } else if constexpr (std::is_same_v<T, K::Right>) {
                return "right";
            } else if constexpr (std::is_same_v<T, K::Home>) {
                return "home";
            } else if constexpr (std::is_same_v<T, K::End>) {
                return "end";
            } else if constexpr (std::is_same_v<T, K::PageUp>) {
                return "pageUp";
            } else {
                return "pageDown";
            }
        },
        code.value);
}

inline std::string describeMouse(const MouseEvent& m) {
    static const char* const buttons[] = {"left", "middle", "right"};
    static const char* const directions[] = {"up", "down", "left", "right"};
    std::string kind = std::visit(
        [](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, MouseEvent::Press>) {
                return std::string("press ") + buttons[static_cast<int>(v.button)];
            } else if constexpr (std::is_same_v<T, MouseEvent::Drag>) {
                return std::string("drag ") + buttons[static_cast<int>(v.button)];
            } else if constexpr (std::is_same_v<T, MouseEvent::Scroll>) {
                return std::string("scroll ") + directions[static_cast<int>(v.direction)];
            } else if constexpr (std::is_same_v<T, MouseEvent::Release>) {
                return "release";
            } else {
                return "move";
            }
        },
        m.kind.value);
    return "mouse " + describeModifiers(m.modifiers) + kind + " at " + std::to_string(m.position.x) + "," +
           std::to_string(m.position.y);
}

inline std::string describe(const InputEvent& e) {
    if (const auto* k = e.get<InputEvent::Key>()) {
        return "key " + describeModifiers(k->event.modifiers) + describeKeyCode(k->event.code);
    }
    if (const auto* m = e.get<InputEvent::Mouse>()) return describeMouse(m->event);
    if (const auto* p = e.get<InputEvent::Paste>()) {
        return "paste(" + std::to_string(p->text.size()) + " bytes: " + p->text.substr(0, 40) + ")";
    }
    if (const auto* f = e.get<InputEvent::Focus>()) return f->gained ? "focus in" : "focus out";
    if (const auto* r = e.get<InputEvent::Resize>()) {
        return "resize " + std::to_string(r->size.width) + "x" + std::to_string(r->size.height);
    }
    return "terminate";
}

inline void PrintTo(const InputEvent& e, std::ostream* os) { *os << describe(e); }

}  // namespace tarv::terminal
