#include "TarvCore/Rules/RepositoryNameRules.hpp"

#include "TarvCore/Rules/Trimmed.hpp"
#include "TarvCore/Text/Utf8.hpp"

namespace tarv::core::RepositoryNameRules {

namespace {

bool isAllowed(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_';
}

}  // namespace

std::string sanitize(std::string_view name) {
    const std::string_view t = trimmedView(name);
    std::string out;
    out.reserve(t.size());
    std::size_t pos = 0;
    while (pos < t.size()) {
        const text::DecodedScalar d = text::decodeScalar(t, pos);
        out.push_back(isAllowed(d.scalar) ? static_cast<char>(d.scalar) : '-');
        pos += d.length;
    }
    return out;
}

bool isValid(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    // Every allowed scalar is one ASCII byte and a character of its own, so
    // bytes count characters here.
    if (static_cast<std::int64_t>(name.size()) > maxLength) return false;
    for (char c : name)
        if (!isAllowed(static_cast<unsigned char>(c))) return false;
    return true;
}

}  // namespace tarv::core::RepositoryNameRules
