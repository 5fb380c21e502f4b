#pragma once

#include "TarvCore/Models/KeyChord.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace tarv::core::KeyChordParser {

// The chord written in `text` (the syntax of keymap.json: modifier words and a
// key joined by "+", e.g. "ctrl+alt+x", "shift+a", "F5", "pgdn"), or none when
// the text is not a valid chord.
std::optional<KeyChord> parse(std::string_view text);

// The chord's short symbolic form for hints, help and the palette ("⌃Q", "⌥x",
// "F5", "⌃⏎").
std::string display(const KeyChord& chord);

}  // namespace tarv::core::KeyChordParser
