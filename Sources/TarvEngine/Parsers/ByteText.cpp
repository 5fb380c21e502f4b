#include "TarvEngine/Parsers/ByteText.hpp"

#include <cstring>
#include <limits>

#include "TarvCore/Text/Unicode.hpp"
#include "TarvCore/Text/Utf8.hpp"

namespace tarv::engine::bytes {

std::size_t count(std::string_view text, char byte) {
    std::size_t found = 0;
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    while (at < end) {
        at = static_cast<const char*>(std::memchr(at, byte, static_cast<std::size_t>(end - at)));
        if (at == nullptr) break;
        ++found;
        ++at;
    }
    return found;
}

bool takeFields(std::string_view record, char separator, std::size_t count, std::string_view* fields,
                std::string_view& rest) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t end = record.find(separator, start);
        if (end == std::string_view::npos) return false;
        fields[i] = record.substr(start, end - start);
        start = end + 1;
    }
    rest = record.substr(start);
    return true;
}

std::optional<std::int64_t> decimal(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    // Accumulated as a negative number so that the minimum fits.
    constexpr std::int64_t minimum = std::numeric_limits<std::int64_t>::min();
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const int digit = c - '0';
        if (value < (minimum + digit) / 10) return std::nullopt;
        value = value * 10 - digit;
    }
    if (negative) return value;
    if (value == minimum) return std::nullopt;
    return -value;
}

std::string lowercaseKey(std::string_view text) {
    if (core::text::isAscii(text)) {
        std::string key(text);
        for (char& c : key) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        return key;
    }
    return core::text::nfc(core::text::lowercased(text));
}

std::string canonicalKey(std::string_view text) {
    if (core::text::isAscii(text)) return std::string(text);
    return core::text::nfc(text);
}

}  // namespace tarv::engine::bytes
