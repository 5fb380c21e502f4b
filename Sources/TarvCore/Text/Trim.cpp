#include "TarvCore/Text/Trim.hpp"

#include "TarvCore/Text/Graphemes.hpp"
#include "TarvCore/Text/Unicode.hpp"

namespace tarv::core::text {

namespace {

constexpr bool isAsciiWhitespace(unsigned char b) noexcept { return b == ' ' || (b >= 0x09 && b <= 0x0D); }

}  // namespace

std::string_view trimmedView(std::string_view text) noexcept {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();

    // Leading: step over white-space clusters.
    std::size_t i = 0;
    while (i < n) {
        if (s[i] < 0x80 && (i + 1 == n || s[i + 1] < 0x80)) {
            if (!isAsciiWhitespace(s[i])) break;
            ++i;
            continue;
        }
        const std::size_t end = nextGraphemeBoundary(text, i);
        if (!isWhitespace(text.substr(i, end - i))) break;
        i = end;
    }
    if (i == n) return text.substr(n, 0);

    // Trailing. The cluster at i is not white space, so something remains.
    // `e` is always a cluster boundary.
    std::size_t e = n;
    while (e > i) {
        const unsigned char last = s[e - 1];
        if (last < 0x80) {
            if (!isAsciiWhitespace(last)) break;  // an ASCII letter ends a non-space cluster
            // Controls are clusters of their own; a space is one too unless a
            // non-ASCII scalar (a prepended mark) comes right before it.
            if (last != ' ' || e - 1 == i || s[e - 2] < 0x80) {
                --e;
                continue;
            }
        }
        // General case: segment forward from the last line feed before e
        // (a cluster always ends after a line feed) and keep the end of the
        // last cluster that is not white space.
        const std::size_t lf = text.substr(0, e).rfind('\n');
        const std::size_t start = (lf == std::string_view::npos || lf < i) ? i : lf + 1;
        std::size_t lastEnd = std::string_view::npos;
        for (std::size_t p = start; p < e;) {
            const std::size_t end = nextGraphemeBoundary(text, p);
            if (!isWhitespace(text.substr(p, end - p))) lastEnd = end;
            p = end;
        }
        if (lastEnd != std::string_view::npos) {
            e = lastEnd;
            break;
        }
        if (start == i) break;  // unreachable: the cluster at i is not white space
        e = start - 1;          // everything after the line feed is white space; drop it too
    }
    return text.substr(i, e - i);
}

}  // namespace tarv::core::text
