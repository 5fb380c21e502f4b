#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

// UTF-8 at the byte level: validation, lossy decoding and scalar access.
//
// Strings in tarv are std::string holding UTF-8 as bytes. Bytes that came
// from git and go back to git (paths, diff lines, ref names) are kept exactly
// as they came; the only door from arbitrary bytes to repaired text is
// `decodeLossy`, called for display, measuring and messages.
namespace tarv::core::text {

inline constexpr char32_t replacementCharacter = 0xFFFD;

namespace detail {
// Matches a std::string prvalue or xvalue only. Functions that return views
// into their argument delete this overload so that a view of a temporary
// does not compile.
template <class S>
concept TemporaryString = std::is_same_v<S, std::string>;
}  // namespace detail

// One scalar read at a position: the scalar (U+FFFD for an ill-formed
// sequence), how many bytes it took, and whether those bytes were valid.
struct DecodedScalar {
    char32_t scalar;
    std::size_t length;
    bool valid;
};

// Reads the scalar at `pos` (which must be < bytes.size()). An ill-formed
// sequence yields U+FFFD with `length` = its maximal subpart (the longest
// prefix of a well-formed sequence, at least one byte), as the Unicode
// standard recommends, so that decoding resumes at the next possible start.
inline DecodedScalar decodeScalar(std::string_view bytes, std::size_t pos) noexcept {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    const unsigned char b0 = s[pos];
    if (b0 < 0x80) return {b0, 1, true};
    auto in = [&](std::size_t i, unsigned char lo, unsigned char hi) {
        return i < n && s[i] >= lo && s[i] <= hi;
    };
    if (b0 < 0xC2) return {replacementCharacter, 1, false};
    if (b0 < 0xE0) {
        if (!in(pos + 1, 0x80, 0xBF)) return {replacementCharacter, 1, false};
        return {static_cast<char32_t>(((b0 & 0x1F) << 6) | (s[pos + 1] & 0x3F)), 2, true};
    }
    if (b0 < 0xF0) {
        const unsigned char lo = b0 == 0xE0 ? 0xA0 : 0x80;
        const unsigned char hi = b0 == 0xED ? 0x9F : 0xBF;
        if (!in(pos + 1, lo, hi)) return {replacementCharacter, 1, false};
        if (!in(pos + 2, 0x80, 0xBF)) return {replacementCharacter, 2, false};
        return {static_cast<char32_t>(((b0 & 0x0F) << 12) | ((s[pos + 1] & 0x3F) << 6) | (s[pos + 2] & 0x3F)), 3,
                true};
    }
    if (b0 < 0xF5) {
        const unsigned char lo = b0 == 0xF0 ? 0x90 : 0x80;
        const unsigned char hi = b0 == 0xF4 ? 0x8F : 0xBF;
        if (!in(pos + 1, lo, hi)) return {replacementCharacter, 1, false};
        if (!in(pos + 2, 0x80, 0xBF)) return {replacementCharacter, 2, false};
        if (!in(pos + 3, 0x80, 0xBF)) return {replacementCharacter, 3, false};
        return {static_cast<char32_t>(((b0 & 0x07) << 18) | ((s[pos + 1] & 0x3F) << 12) | ((s[pos + 2] & 0x3F) << 6) |
                                      (s[pos + 3] & 0x3F)),
                4, true};
    }
    return {replacementCharacter, 1, false};
}

// Index of the first byte at or after `from` that is not ASCII; size() when
// there is none. Eight bytes at a time.
inline std::size_t firstNonAscii(std::string_view bytes, std::size_t from = 0) noexcept {
    const char* p = bytes.data();
    const std::size_t n = bytes.size();
    std::size_t i = from;
    while (i + 8 <= n) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        if (word & 0x8080808080808080ULL) break;
        i += 8;
    }
    while (i < n && static_cast<unsigned char>(p[i]) < 0x80) ++i;
    return i;
}

inline bool isAscii(std::string_view bytes) noexcept { return firstNonAscii(bytes) == bytes.size(); }

// Length of the longest prefix that is well-formed UTF-8.
std::size_t validPrefixLength(std::string_view bytes) noexcept;

inline bool isValidUtf8(std::string_view bytes) noexcept { return validPrefixLength(bytes) == bytes.size(); }

// Lossy decoding: the bytes as UTF-8 text in which every ill-formed maximal
// subpart is replaced by one U+FFFD. Valid input comes back unchanged. Never
// fails.
std::string decodeLossy(std::string_view bytes);
std::string decodeLossy(std::span<const std::uint8_t> bytes);

// Appends the UTF-8 form of a scalar (U+FFFD for a surrogate or a value
// beyond U+10FFFF).
void appendUtf8(std::string& out, char32_t scalar);

// The scalars of the text, ill-formed subparts read as U+FFFD.
std::u32string scalars(std::string_view bytes);

// The first scalar of the text (U+FFFD when it is ill-formed); 0 for "".
inline char32_t firstScalar(std::string_view bytes) noexcept {
    return bytes.empty() ? U'\0' : decodeScalar(bytes, 0).scalar;
}

}  // namespace tarv::core::text
