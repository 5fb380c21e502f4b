#pragma once

#include <string_view>

#include "TarvTerminal/Input/KeyEvent.hpp"

// How the fixed key tables match a key: character keys exactly (plain, or
// with control alone), named keys by their code whatever the modifiers
// unless the table asks for an exact match.
namespace tarv::ui::KeyMatch {

inline bool isCharacter(const terminal::KeyEvent& key, std::string_view text, terminal::Modifiers modifiers) {
    const std::string* character = key.code.characterText();
    return character != nullptr && *character == text && key.modifiers == modifiers;
}

// The character with no modifier at all.
inline bool plain(const terminal::KeyEvent& key, std::string_view text) { return isCharacter(key, text, {}); }

// The character with control alone.
inline bool control(const terminal::KeyEvent& key, std::string_view text) {
    return isCharacter(key, text, terminal::Modifiers::control);
}

// The named key, whatever the modifiers.
template <class Code>
bool named(const terminal::KeyEvent& key) {
    return key.code.is<Code>();
}

// The named key with no modifier.
template <class Code>
bool exactly(const terminal::KeyEvent& key) {
    return key.code.is<Code>() && key.modifiers.isEmpty();
}

}  // namespace tarv::ui::KeyMatch
