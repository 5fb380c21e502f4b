#include "TarvCore/Rules/detail/TextScratch.hpp"

#include <utf8proc.h>

#include <cstdlib>

namespace tarv::core::rules_detail {

char32_t decodeNext(std::string_view text, std::size_t& pos) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    const unsigned char lead = bytes[pos];
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t need = 0;
    char32_t cp = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        cp = lead & 0x0F;
        if (lead == 0xE0) lo = 0xA0;
        if (lead == 0xED) hi = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        cp = lead & 0x07;
        if (lead == 0xF0) lo = 0x90;
        if (lead == 0xF4) hi = 0x8F;
    } else {
        ++pos;
        return 0xFFFD;
    }
    std::size_t i = pos + 1;
    for (std::size_t k = 0; k < need; ++k, ++i) {
        if (i >= size) {
            pos = i;
            return 0xFFFD;
        }
        const unsigned char b = bytes[i];
        const unsigned char low = (k == 0) ? lo : 0x80;
        const unsigned char high = (k == 0) ? hi : 0xBF;
        if (b < low || b > high) {
            pos = i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    pos = i;
    return cp;
}

void appendUTF8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

namespace {

template <class Visit>
void forEachCluster(std::string_view text, Visit&& visit) {
    std::size_t pos = 0;
    std::size_t start = 0;
    utf8proc_int32_t state = 0;
    char32_t previous = 0;
    bool first = true;
    while (pos < text.size()) {
        const std::size_t at = pos;
        const unsigned char byte = static_cast<unsigned char>(text[pos]);
        // Fast path: two ASCII characters other than CR LF always break.
        if (byte < 0x80 && !first && previous < 0x80 && !(previous == '\r' && byte == '\n')) {
            ++pos;
            visit(text.substr(start, at - start));
            start = at;
            previous = byte;
            state = 0;
            continue;
        }
        const char32_t cp = decodeNext(text, pos);
        if (!first) {
            if (utf8proc_grapheme_break_stateful(static_cast<utf8proc_int32_t>(previous),
                                                 static_cast<utf8proc_int32_t>(cp), &state)) {
                visit(text.substr(start, at - start));
                start = at;
            }
        }
        previous = cp;
        first = false;
    }
    if (!first) visit(text.substr(start));
}

}  // namespace

std::vector<std::string_view> graphemes(std::string_view text) {
    std::vector<std::string_view> out;
    out.reserve(text.size());
    forEachCluster(text, [&](std::string_view piece) { out.push_back(piece); });
    return out;
}

std::size_t graphemeCount(std::string_view text) {
    std::size_t count = 0;
    forEachCluster(text, [&](std::string_view) { ++count; });
    return count;
}

bool isWhitespace(char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

bool isLetter(char32_t c) {
    if (c < 0x80) return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
    switch (utf8proc_category(static_cast<utf8proc_int32_t>(c))) {
        case UTF8PROC_CATEGORY_LU:
        case UTF8PROC_CATEGORY_LL:
        case UTF8PROC_CATEGORY_LT:
        case UTF8PROC_CATEGORY_LM:
        case UTF8PROC_CATEGORY_LO: return true;
        default: return false;
    }
}

bool isNumber(char32_t c) {
    if (c < 0x80) return c >= '0' && c <= '9';
    switch (utf8proc_category(static_cast<utf8proc_int32_t>(c))) {
        case UTF8PROC_CATEGORY_ND:
        case UTF8PROC_CATEGORY_NL:
        case UTF8PROC_CATEGORY_NO: return true;
        default: return false;
    }
}

bool isLetterOrNumber(char32_t c) { return isLetter(c) || isNumber(c); }

char32_t firstCodePoint(std::string_view text) {
    if (text.empty()) return 0;
    std::size_t pos = 0;
    return decodeNext(text, pos);
}

namespace {
template <class Map>
std::string mapCase(std::string_view text, Map map) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char32_t cp = decodeNext(text, pos);
        appendUTF8(out, static_cast<char32_t>(map(static_cast<utf8proc_int32_t>(cp))));
    }
    return out;
}
}  // namespace

std::string lowercased(std::string_view text) {
    if (isASCII(text)) {
        std::string out(text);
        for (char& c : out)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        return out;
    }
    return mapCase(text, utf8proc_tolower);
}

std::string uppercased(std::string_view text) {
    if (isASCII(text)) {
        std::string out(text);
        for (char& c : out)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        return out;
    }
    return mapCase(text, utf8proc_toupper);
}

std::string nfc(std::string_view text) {
    if (isASCII(text)) return std::string(text);
    std::string valid;
    valid.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) appendUTF8(valid, decodeNext(text, pos));
    utf8proc_uint8_t* result = nullptr;
    const auto length = utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(valid.data()),
                                     static_cast<utf8proc_ssize_t>(valid.size()), &result,
                                     static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE));
    if (length < 0 || result == nullptr) {
        std::free(result);
        return valid;
    }
    std::string out(reinterpret_cast<const char*>(result), static_cast<std::size_t>(length));
    std::free(result);
    return out;
}

bool isASCII(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

}  // namespace tarv::core::rules_detail
