#pragma once

#include <cstdint>
#include <string_view>

namespace tarv::terminal::DisplayWidth {

// Columns of one Unicode scalar: 0, 1 or 2. Two for East Asian Wide and
// Fullwidth characters and for emoji with emoji presentation (Unicode 15);
// zero for control characters, combining marks, format characters and
// variation selectors.
int width(char32_t scalar);

// Columns of one character (grapheme cluster) given as UTF-8: 0 for CR LF,
// 2 when it holds a double-width scalar or U+FE0F, else 1 when it holds any
// scalar that is not zero-width, else 0. Invalid bytes count as U+FFFD.
std::int64_t characterWidth(std::string_view character);

// Columns of a text: the sum over its characters.
std::int64_t width(std::string_view text);

// True for the scalars that never reach the terminal as text: C0 controls,
// DEL and C1 controls (U+0000-001F, U+007F-009F).
constexpr bool isControl(char32_t scalar) { return scalar < 0x20 || (scalar >= 0x7F && scalar <= 0x9F); }

}  // namespace tarv::terminal::DisplayWidth
