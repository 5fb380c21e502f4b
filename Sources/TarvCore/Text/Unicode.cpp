#include "TarvCore/Text/Unicode.hpp"

#include <utf8proc.h>

#include <cstdlib>
#include <memory>

namespace tarv::core::text {

bool isLetter(char32_t c) noexcept {
    if (c < 0x80) return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
    switch (utf8proc_category(static_cast<utf8proc_int32_t>(c))) {
    case UTF8PROC_CATEGORY_LU:
    case UTF8PROC_CATEGORY_LL:
    case UTF8PROC_CATEGORY_LT:
    case UTF8PROC_CATEGORY_LM:
    case UTF8PROC_CATEGORY_LO:
        return true;
    default:
        return false;
    }
}

bool isNumber(char32_t c) noexcept {
    if (c < 0x80) return c >= '0' && c <= '9';
    switch (utf8proc_category(static_cast<utf8proc_int32_t>(c))) {
    case UTF8PROC_CATEGORY_ND:
    case UTF8PROC_CATEGORY_NL:
    case UTF8PROC_CATEGORY_NO:
        return true;
    default:
        return false;
    }
}

std::string lowercased(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t asciiEnd = firstNonAscii(text, i);
        for (; i < asciiEnd; ++i) {
            const char c = text[i];
            out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c);
        }
        if (i == text.size()) break;
        const DecodedScalar d = decodeScalar(text, i);
        i += d.length;
        if (d.scalar == 0x130) {
            out.append("i\xCC\x87");
            continue;
        }
        appendUtf8(out, static_cast<char32_t>(utf8proc_tolower(static_cast<utf8proc_int32_t>(d.scalar))));
    }
    return out;
}

namespace {

// Text whose scalars are all below U+0300 is already in NFC: no combining
// marks and no decomposable pairs start there. Every byte of such text is
// below 0xCC (U+0300 is CC 80).
bool triviallyNFC(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0xCC) return false;
    }
    return true;
}

}  // namespace

std::string nfc(std::string_view text) {
    if (triviallyNFC(text) && isValidUtf8(text)) return std::string(text);
    const std::string valid = decodeLossy(text);
    utf8proc_uint8_t* mapped = nullptr;
    const utf8proc_ssize_t length =
        utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(valid.data()), static_cast<utf8proc_ssize_t>(valid.size()),
                     &mapped, static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE));
    if (length < 0 || mapped == nullptr) {
        std::free(mapped);
        return valid;  // cannot happen for valid input; keep the text rather than lose it
    }
    std::unique_ptr<utf8proc_uint8_t, decltype(&std::free)> owner(mapped, &std::free);
    return std::string(reinterpret_cast<const char*>(mapped), static_cast<std::size_t>(length));
}

bool equalNFC(std::string_view a, std::string_view b) {
    if (a == b) return true;
    if (triviallyNFC(a) && triviallyNFC(b) && isValidUtf8(a) && isValidUtf8(b)) return false;
    return nfc(a) == nfc(b);
}

std::strong_ordering compareNFC(std::string_view a, std::string_view b) {
    if (triviallyNFC(a) && triviallyNFC(b) && isValidUtf8(a) && isValidUtf8(b)) return a.compare(b) <=> 0;
    return nfc(a).compare(nfc(b)) <=> 0;
}

}  // namespace tarv::core::text
