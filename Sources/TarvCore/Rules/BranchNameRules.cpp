#include "TarvCore/Rules/BranchNameRules.hpp"

#include "TarvCore/Rules/Trimmed.hpp"
#include "TarvCore/Text/Graphemes.hpp"
#include "TarvCore/Text/Unicode.hpp"

namespace tarv::core::BranchNameRules {

namespace {

bool startsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }
bool endsWith(std::string_view s, std::string_view p) {
    return s.size() >= p.size() && s.substr(s.size() - p.size()) == p;
}
bool contains(std::string_view s, std::string_view p) { return s.find(p) != std::string_view::npos; }

bool isForbidden(char32_t c) {
    switch (c) {
        case U' ':
        case U'~':
        case U'^':
        case U':':
        case U'?':
        case U'*':
        case U'[':
        case U'\\':
        case 0x7F: return true;
        default: return c < 0x20;
    }
}

}  // namespace

std::string sanitize(std::string_view name) {
    const std::string_view t = trimmedView(name);
    std::string out;
    out.reserve(t.size());
    text::forEachGrapheme(t, [&](std::string_view character) {
        if (text::isWhitespace(character)) {
            out.push_back('-');
        } else {
            out.append(character);
        }
    });
    return out;
}

bool isValid(std::string_view name) {
    if (name.empty() || name == "@") return false;
    if (startsWith(name, "-") || startsWith(name, "/")) return false;
    if (endsWith(name, "/") || endsWith(name, ".") || endsWith(name, ".lock")) return false;
    if (contains(name, "..") || contains(name, "//") || contains(name, "@{")) return false;
    // Checked per code point, so a forbidden one hidden inside a character
    // (a blank carrying a combining mark) is refused too; CR LF holds two
    // control characters.
    std::size_t pos = 0;
    while (pos < name.size()) {
        const text::DecodedScalar d = text::decodeScalar(name, pos);
        if (isForbidden(d.scalar)) return false;
        pos += d.length;
    }
    std::size_t start = 0;
    while (start < name.size()) {
        const std::size_t slash = name.find('/', start);
        const std::size_t end = slash == std::string_view::npos ? name.size() : slash;
        if (end > start && name[start] == '.') return false;
        if (slash == std::string_view::npos) break;
        start = slash + 1;
    }
    return true;
}

}  // namespace tarv::core::BranchNameRules
