#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarv::terminal::Utf8 {

inline constexpr char32_t replacementCharacter = 0xFFFD;

// One scalar decoded from UTF-8. Invalid input gives U+FFFD with `valid`
// false and consumes the maximal invalid subpart (at least one byte), so a
// broken sequence never swallows the valid bytes after it.
struct Decoded {
    char32_t scalar = 0;
    std::uint8_t length = 1;
    bool valid = true;
};

inline Decoded decode(std::string_view bytes, std::size_t i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char b0 = at(i);
    if (b0 < 0x80) return {b0, 1, true};
    std::size_t need;
    unsigned char lo = 0x80, hi = 0xBF;
    char32_t scalar;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        need = 1;
        scalar = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        need = 2;
        scalar = b0 & 0x0F;
        if (b0 == 0xE0) lo = 0xA0;
        if (b0 == 0xED) hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        need = 3;
        scalar = b0 & 0x07;
        if (b0 == 0xF0) lo = 0x90;
        if (b0 == 0xF4) hi = 0x8F;
    } else {
        return {replacementCharacter, 1, false};
    }
    std::size_t k = 1;
    for (; k <= need; ++k) {
        if (i + k >= bytes.size()) return {replacementCharacter, static_cast<std::uint8_t>(k), false};
        const unsigned char b = at(i + k);
        if (b < lo || b > hi) return {replacementCharacter, static_cast<std::uint8_t>(k), false};
        lo = 0x80;
        hi = 0xBF;
        scalar = (scalar << 6) | (b & 0x3F);
    }
    return {scalar, static_cast<std::uint8_t>(k), true};
}

inline void append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

inline std::string encode(char32_t c) {
    std::string out;
    append(out, c);
    return out;
}

// Appends `bytes` with every invalid subpart replaced by U+FFFD.
void appendRepaired(std::string& out, std::string_view bytes);

// `bytes` with every invalid subpart replaced by U+FFFD.
std::string repaired(std::string_view bytes);

bool isValid(std::string_view bytes);

}  // namespace tarv::terminal::Utf8
