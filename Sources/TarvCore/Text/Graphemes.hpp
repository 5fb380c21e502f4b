#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "TarvCore/Text/Utf8.hpp"

// Extended grapheme clusters ("characters" as a user sees them). Segmenting
// reads each ill-formed maximal subpart as one U+FFFD, so it never fails; the
// views handed out cover the original bytes.
namespace tarv::core::text {

namespace detail {
std::size_t nextGraphemeBoundarySlow(std::string_view text, std::size_t start) noexcept;
}

// End of the cluster that begins at `start` (start < text.size(); `start` must
// itself be a cluster boundary, such as 0 or a value this function returned).
inline std::size_t nextGraphemeBoundary(std::string_view text, std::size_t start) noexcept {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    if (s[start] < 0x80) {
        if (start + 1 == text.size()) return start + 1;
        const unsigned char next = s[start + 1];
        if (next < 0x80) return (s[start] == '\r' && next == '\n') ? start + 2 : start + 1;
    }
    return detail::nextGraphemeBoundarySlow(text, start);
}

// Calls `visit(std::string_view cluster)` for every cluster in order.
template <class Visitor>
void forEachGrapheme(std::string_view text, Visitor&& visit) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        // Runs of ASCII: every byte is a cluster of its own except CR LF and
        // a byte directly before a non-ASCII one (it may take a combining mark).
        while (i + 1 < n && s[i + 1] < 0x80 && s[i] < 0x80) {
            if (s[i] == '\r' && s[i + 1] == '\n') {
                visit(text.substr(i, 2));
                i += 2;
            } else {
                visit(text.substr(i, 1));
                i += 1;
            }
        }
        if (i >= n) break;
        const std::size_t end = nextGraphemeBoundary(text, i);
        visit(text.substr(i, end - i));
        i = end;
    }
}

// Number of clusters.
std::size_t graphemeCount(std::string_view text) noexcept;

// The clusters as separate strings; ill-formed subparts become U+FFFD.
std::vector<std::string> graphemes(std::string_view text);

// The first `count` clusters (the whole text when it has fewer), as a view.
std::string_view graphemePrefix(std::string_view text, std::size_t count) noexcept;
template <detail::TemporaryString S>
std::string_view graphemePrefix(S&& text, std::size_t count) = delete;

}  // namespace tarv::core::text
