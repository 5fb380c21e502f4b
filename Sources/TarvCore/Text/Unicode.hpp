#pragma once

#include <compare>
#include <string>
#include <string_view>

#include "TarvCore/Text/Utf8.hpp"

// Character properties, case mapping and normalisation. A "character" given
// as a string_view is one grapheme cluster; its properties are those of its
// first scalar.
namespace tarv::core::text {

// White space in the Unicode sense (the White_Space property): tab, line
// feed, vertical tab, form feed, carriage return, space, U+0085, no-break
// space, U+1680, U+2000 to U+200A, line and paragraph separators, U+202F,
// U+205F and the ideographic space U+3000.
constexpr bool isWhitespace(char32_t c) noexcept {
    if (c <= 0x20) return c == 0x20 || (c >= 0x09 && c <= 0x0D);
    if (c < 0x85) return false;
    return c == 0x85 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 ||
           c == 0x202F || c == 0x205F || c == 0x3000;
}

// General category L* (Lu, Ll, Lt, Lm, Lo).
bool isLetter(char32_t c) noexcept;
// General category N* (Nd, Nl, No).
bool isNumber(char32_t c) noexcept;

inline bool isWhitespace(std::string_view character) noexcept {
    return !character.empty() && isWhitespace(firstScalar(character));
}
inline bool isLetter(std::string_view character) noexcept {
    return !character.empty() && isLetter(firstScalar(character));
}
inline bool isNumber(std::string_view character) noexcept {
    return !character.empty() && isNumber(firstScalar(character));
}

// The text with every scalar mapped to its lower-case form (U+0130 becomes
// "i" and a combining dot above, as in the full mapping; no locale rules).
// Ill-formed bytes come out as U+FFFD.
std::string lowercased(std::string_view text);

// Normalisation form C. Ill-formed bytes come out as U+FFFD.
std::string nfc(std::string_view text);

// Canonical equivalence: equal when the NFC forms are equal.
bool equalNFC(std::string_view a, std::string_view b);

// Order of the NFC forms by scalar value (UTF-8 byte order is scalar order).
std::strong_ordering compareNFC(std::string_view a, std::string_view b);

}  // namespace tarv::core::text
