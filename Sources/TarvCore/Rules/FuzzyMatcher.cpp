#include "TarvCore/Rules/FuzzyMatcher.hpp"

#include "TarvCore/Rules/Trimmed.hpp"
#include "TarvCore/Text/Graphemes.hpp"
#include "TarvCore/Text/Unicode.hpp"
#include "TarvCore/Text/Utf8.hpp"

#include <algorithm>
#include <numeric>

namespace tarv::core::FuzzyMatcher {

namespace {

constexpr std::int64_t matchPoints = 10;
constexpr std::int64_t adjacentBonus = 15;
constexpr std::int64_t wordStartBonus = 12;
constexpr std::int64_t prefixBonus = 30;
constexpr std::int64_t maxGapPenalty = 8;

// The query as characters: lower-cased, canonically composed, white space
// removed. `ascii` holds the same as bytes when every character is one ASCII
// byte, which allows the fast path over ASCII texts.
struct Needle {
    std::vector<std::string> characters;
    std::string ascii;
    bool isASCII = true;
};

Needle makeNeedle(std::string_view query) {
    Needle needle;
    const std::string lowered = text::lowercased(query);
    text::forEachGrapheme(lowered, [&](std::string_view cluster) {
        if (text::isWhitespace(cluster)) return;
        std::string composed = text::nfc(cluster);
        if (composed.size() == 1 && static_cast<unsigned char>(composed[0]) < 0x80) {
            needle.ascii.push_back(composed[0]);
        } else {
            needle.isASCII = false;
        }
        needle.characters.push_back(std::move(composed));
    });
    return needle;
}

bool isASCIIAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}

unsigned char lower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

// The greedy match over a sequence of characters. `at(i)` compares haystack
// character i with needle character k; `separatorBefore(i)` tells whether the
// character before i is neither a letter nor a number.
template <class Equal, class SeparatorBefore>
std::optional<std::int64_t> greedy(std::size_t needleCount, std::size_t haystackCount, Equal&& equal,
                                   SeparatorBefore&& separatorBefore) {
    std::int64_t score = 0;
    std::size_t search = 0;
    std::int64_t previous = -2;
    for (std::size_t k = 0; k < needleCount; ++k) {
        if (search >= haystackCount) return std::nullopt;
        std::size_t found = search;
        while (found < haystackCount && !equal(found, k)) ++found;
        if (found == haystackCount) return std::nullopt;
        const auto gap = static_cast<std::int64_t>(found - search);
        score += matchPoints;
        if (static_cast<std::int64_t>(found) == previous + 1) score += adjacentBonus;
        if (found == 0 || separatorBefore(found)) score += wordStartBonus;
        score -= std::min(gap, maxGapPenalty);
        previous = static_cast<std::int64_t>(found);
        search = found + 1;
    }
    bool prefix = needleCount <= haystackCount;
    for (std::size_t k = 0; prefix && k < needleCount; ++k) prefix = equal(k, k);
    if (prefix) score += prefixBonus;
    score -= static_cast<std::int64_t>(haystackCount / 8);
    return score;
}

std::optional<std::int64_t> scoreNeedle(const Needle& needle, std::string_view haystack) {
    if (needle.characters.empty()) return 0;

    // Fast path: an ASCII text without carriage returns is one character per
    // byte.
    if (text::isAscii(haystack) && haystack.find('\r') == std::string_view::npos) {
        if (!needle.isASCII) return std::nullopt;
        const auto* bytes = reinterpret_cast<const unsigned char*>(haystack.data());
        return greedy(
            needle.ascii.size(), haystack.size(),
            [&](std::size_t i, std::size_t k) {
                return lower(bytes[i]) == static_cast<unsigned char>(needle.ascii[k]);
            },
            [&](std::size_t i) { return !isASCIIAlnum(bytes[i - 1]); });
    }

    const std::string lowered = text::lowercased(haystack);
    std::vector<std::string> characters;
    text::forEachGrapheme(lowered, [&](std::string_view cluster) { characters.push_back(text::nfc(cluster)); });
    return greedy(
        needle.characters.size(), characters.size(),
        [&](std::size_t i, std::size_t k) { return characters[i] == needle.characters[k]; },
        [&](std::size_t i) { return !text::isLetter(characters[i - 1]) && !text::isNumber(characters[i - 1]); });
}

}  // namespace

std::optional<std::int64_t> score(std::string_view query, std::string_view text) {
    return scoreNeedle(makeNeedle(query), text);
}

namespace detail {

std::vector<std::size_t> rankedMatches(std::string_view query, const std::vector<std::string_view>& texts) {
    std::vector<std::size_t> order;
    if (trimmedView(query).empty()) {
        order.resize(texts.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        return order;
    }
    const Needle needle = makeNeedle(query);
    std::vector<std::pair<std::int64_t, std::size_t>> scored;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (const auto s = scoreNeedle(needle, texts[i])) scored.emplace_back(*s, i);
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    order.reserve(scored.size());
    for (const auto& entry : scored) order.push_back(entry.second);
    return order;
}

}  // namespace detail

}  // namespace tarv::core::FuzzyMatcher
