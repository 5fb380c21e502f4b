#include "TarvCore/Rules/Trimmed.hpp"

#include "TarvCore/Rules/detail/TextScratch.hpp"

#include <utf8proc.h>

namespace tarv::core {

namespace {

using rules_detail::decodeNext;
using rules_detail::isWhitespace;

bool isASCIISpace(unsigned char c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }

bool breaks(char32_t previous, char32_t next, utf8proc_int32_t& state) {
    return utf8proc_grapheme_break_stateful(static_cast<utf8proc_int32_t>(previous),
                                            static_cast<utf8proc_int32_t>(next), &state);
}

}  // namespace

std::string_view trimmedView(std::string_view text) {
    // Leading: skip every character (grapheme cluster) whose first code point
    // is white space.
    std::size_t start = text.size();
    {
        std::size_t pos = 0;
        char32_t previous = 0;
        utf8proc_int32_t state = 0;
        bool first = true;
        while (pos < text.size()) {
            const std::size_t at = pos;
            const char32_t cp = decodeNext(text, pos);
            const bool startsCluster = first || breaks(previous, cp, state);
            previous = cp;
            first = false;
            if (startsCluster && !isWhitespace(cp)) {
                start = at;
                break;
            }
        }
    }
    if (start == text.size()) return {};

    // Trailing, fast path: a run of ASCII blanks after an ASCII character is a
    // run of whole white-space characters.
    std::size_t end = text.size();
    while (end > start && isASCIISpace(static_cast<unsigned char>(text[end - 1]))) --end;
    if (end > start && static_cast<unsigned char>(text[end - 1]) < 0x80) {
        return text.substr(start, end - start);
    }

    // General case: walk the clusters and keep up to the end of the last one
    // that does not begin with white space.
    end = start;
    std::size_t pos = start;
    char32_t previous = 0;
    utf8proc_int32_t state = 0;
    bool first = true;
    bool keeping = false;
    while (pos < text.size()) {
        const char32_t cp = decodeNext(text, pos);
        const bool startsCluster = first || breaks(previous, cp, state);
        previous = cp;
        first = false;
        if (startsCluster) keeping = !isWhitespace(cp);
        if (keeping) end = pos;
    }
    return text.substr(start, end - start);
}

std::string trimmed(std::string_view text) { return std::string(trimmedView(text)); }

}  // namespace tarv::core
