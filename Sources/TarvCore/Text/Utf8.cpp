#include "TarvCore/Text/Utf8.hpp"

namespace tarv::core::text {

std::size_t validPrefixLength(std::string_view bytes) noexcept {
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    for (;;) {
        i = firstNonAscii(bytes, i);
        if (i == n) return n;
        const DecodedScalar d = decodeScalar(bytes, i);
        if (!d.valid) return i;
        i += d.length;
    }
}

std::string decodeLossy(std::string_view bytes) {
    std::size_t valid = validPrefixLength(bytes);
    if (valid == bytes.size()) return std::string(bytes);

    std::string out;
    out.reserve(bytes.size() + 16);
    out.append(bytes.substr(0, valid));
    std::size_t i = valid;
    while (i < bytes.size()) {
        // At an ill-formed subpart: replace it, then copy the next valid run whole.
        const DecodedScalar d = decodeScalar(bytes, i);
        out.append("\xEF\xBF\xBD");
        i += d.length;
        const std::size_t run = validPrefixLength(bytes.substr(i));
        out.append(bytes.substr(i, run));
        i += run;
    }
    return out;
}

std::string decodeLossy(std::span<const std::uint8_t> bytes) {
    return decodeLossy(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void appendUtf8(std::string& out, char32_t scalar) {
    if ((scalar >= 0xD800 && scalar <= 0xDFFF) || scalar > 0x10FFFF) scalar = replacementCharacter;
    if (scalar < 0x80) {
        out.push_back(static_cast<char>(scalar));
    } else if (scalar < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (scalar >> 6)));
        out.push_back(static_cast<char>(0x80 | (scalar & 0x3F)));
    } else if (scalar < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (scalar >> 12)));
        out.push_back(static_cast<char>(0x80 | ((scalar >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (scalar & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (scalar >> 18)));
        out.push_back(static_cast<char>(0x80 | ((scalar >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((scalar >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (scalar & 0x3F)));
    }
}

std::u32string scalars(std::string_view bytes) {
    std::u32string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const DecodedScalar d = decodeScalar(bytes, i);
        out.push_back(d.scalar);
        i += d.length;
    }
    return out;
}

}  // namespace tarv::core::text
