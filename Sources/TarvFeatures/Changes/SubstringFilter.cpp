#include "TarvFeatures/Changes/SubstringFilter.hpp"

#include "TarvCore/Rules/Trimmed.hpp"
#include "TarvCore/Text/Unicode.hpp"

namespace tarv::features {

namespace {

bool isASCII(std::string_view text) {
    unsigned char any = 0;
    for (const char c : text) any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether `text`, lower-cased byte by byte, contains `query` (lower case).
bool containsASCIIFolded(std::string_view text, std::string_view query) {
    if (query.size() > text.size()) return false;
    const char first = query.front();
    const std::size_t last = text.size() - query.size();
    for (std::size_t at = 0; at <= last; ++at) {
        if (asciiLower(text[at]) != first) continue;
        std::size_t i = 1;
        while (i < query.size() && asciiLower(text[at + i]) == query[i]) ++i;
        if (i == query.size()) return true;
    }
    return false;
}

}  // namespace

SubstringFilter::SubstringFilter(std::string_view filter)
    : query_(core::text::lowercased(core::trimmedView(filter))) {}

bool SubstringFilter::matches(std::string_view text) const {
    if (query_.empty()) return true;
    if (isASCII(text)) {
        // An ASCII text lower-cases to ASCII, which cannot hold a query with
        // other characters.
        return isASCII(query_) && containsASCIIFolded(text, query_);
    }
    return core::text::lowercased(text).find(query_) != std::string::npos;
}

}  // namespace tarv::features
