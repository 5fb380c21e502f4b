#include "TarvCore/Text/Graphemes.hpp"

#include <utf8proc.h>

namespace tarv::core::text {

namespace detail {

namespace {

bool isPrepend(char32_t c) noexcept {
    // Every prepended mark lies at or above U+0600.
    return c >= 0x600 &&
           utf8proc_get_property(static_cast<utf8proc_int32_t>(c))->boundclass == UTF8PROC_BOUNDCLASS_PREPEND;
}

}  // namespace

std::size_t nextGraphemeBoundarySlow(std::string_view text, std::size_t start) noexcept {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    DecodedScalar previous = decodeScalar(text, start);
    std::size_t pos = start + previous.length;
    utf8proc_int32_t state = 0;
    while (pos < text.size()) {
        // An ASCII scalar other than LF joins a cluster only after a
        // prepended mark: it is never Extend, ZWJ, a spacing mark, Hangul, a
        // regional indicator or pictographic.
        if (s[pos] < 0x80 && s[pos] != '\n' && !isPrepend(previous.scalar)) break;
        const DecodedScalar next = decodeScalar(text, pos);
        if (utf8proc_grapheme_break_stateful(static_cast<utf8proc_int32_t>(previous.scalar),
                                             static_cast<utf8proc_int32_t>(next.scalar), &state)) {
            break;
        }
        pos += next.length;
        previous = next;
    }
    return pos;
}

}  // namespace detail

namespace {

// Clusters of the ASCII bytes [a, b) when a is a cluster boundary: one per
// byte, except that an LF right after a CR belongs to the CR's cluster.
std::size_t asciiClusters(const unsigned char* s, std::size_t a, std::size_t b) noexcept {
    if (b <= a) return 0;
    std::size_t pairs = 0;
    for (std::size_t k = a + 1; k < b; ++k) pairs += static_cast<std::size_t>((s[k] == '\n') & (s[k - 1] == '\r'));
    return (b - a) - pairs;
}

}  // namespace

std::size_t graphemeCount(std::string_view text) noexcept {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t count = 0;
    std::size_t i = 0;
    while (i < n) {
        const std::size_t asciiEnd = firstNonAscii(text, i);
        if (asciiEnd == n) {
            count += asciiClusters(s, i, n);
            break;
        }
        if (asciiEnd > i) {
            // The run's last ASCII byte may take a combining mark that
            // follows, so it goes through the general path.
            const std::size_t last = asciiEnd - 1;
            count += asciiClusters(s, i, last);
            if (last > i && s[last - 1] == '\r' && s[last] == '\n') {
                i = asciiEnd;  // the LF joins the CR counted above
                continue;
            }
            i = last;
        }
        i = nextGraphemeBoundary(text, i);
        ++count;
    }
    return count;
}

std::vector<std::string> graphemes(std::string_view text) {
    std::vector<std::string> out;
    out.reserve(graphemeCount(text));
    forEachGrapheme(text, [&](std::string_view cluster) {
        out.push_back(isValidUtf8(cluster) ? std::string(cluster) : decodeLossy(cluster));
    });
    return out;
}

std::string_view graphemePrefix(std::string_view text, std::size_t count) noexcept {
    std::size_t end = 0;
    for (std::size_t k = 0; k < count && end < text.size(); ++k) end = nextGraphemeBoundary(text, end);
    return text.substr(0, end);
}

}  // namespace tarv::core::text
