#include "TarvCore/Rules/WordDiff.hpp"

#include "TarvCore/Text/Graphemes.hpp"
#include "TarvCore/Text/Unicode.hpp"
#include "TarvCore/Text/Utf8.hpp"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>

namespace tarv::core::WordDiff {

namespace {

struct Token {
    // Interned text: tokens with canonically equivalent text share an id.
    std::uint32_t id = 0;
    std::int64_t start = 0;
    std::int64_t end = 0;
};

enum class Class { word, blank, other };

Class classOf(std::string_view character) {
    if (character.size() == 1) {
        const unsigned char c = static_cast<unsigned char>(character[0]);
        if (c < 0x80) {
            if (c == ' ' || c == '\t') return Class::blank;
            const bool word = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
            return word ? Class::word : Class::other;
        }
    }
    if (text::isLetter(character) || text::isNumber(character)) return Class::word;
    return Class::other;
}

// Gives canonically equivalent token texts one id. Keys are views into the
// two lines, or into `composed_` for tokens whose NFC form differs.
class Interner {
public:
    std::uint32_t id(std::string_view piece, bool plainASCII) {
        std::string_view key = piece;
        if (!plainASCII) {
            std::string composed = text::nfc(piece);
            if (composed != piece) key = composed_.emplace_back(std::move(composed));
        }
        const auto [it, inserted] = ids_.try_emplace(key, static_cast<std::uint32_t>(ids_.size()));
        return it->second;
    }

private:
    std::unordered_map<std::string_view, std::uint32_t> ids_;
    std::deque<std::string> composed_;
};

// The tokens of a line, or none when it has more than `maxTokens`.
bool tokenize(std::string_view line, Interner& interner, std::vector<Token>& tokens) {
    const bool plainASCII = text::isAscii(line) && line.find("\r\n") == std::string_view::npos;
    std::int64_t index = 0;
    std::size_t tokenByte = 0;
    std::int64_t tokenStart = 0;
    Class current = Class::other;
    bool open = false;
    auto close = [&](std::size_t endByte) {
        tokens.push_back(Token{interner.id(line.substr(tokenByte, endByte - tokenByte), plainASCII), tokenStart, index});
        open = false;
        return static_cast<std::int64_t>(tokens.size()) <= maxTokens;
    };
    std::size_t byte = 0;
    bool withinLimit = true;
    auto visit = [&](std::string_view character) {
        if (!withinLimit) return;
        const Class cls = classOf(character);
        if (open && (cls != current || cls == Class::other)) withinLimit = close(byte);
        if (!withinLimit) return;
        if (!open) {
            open = true;
            current = cls;
            tokenByte = byte;
            tokenStart = index;
        }
        byte += character.size();
        ++index;
    };
    if (plainASCII) {
        for (std::size_t i = 0; i < line.size() && withinLimit; ++i) visit(line.substr(i, 1));
    } else {
        text::forEachGrapheme(line, visit);
    }
    if (withinLimit && open) withinLimit = close(byte);
    return withinLimit;
}

// Ranges of the tokens not kept; runs of neighbouring ones become one range.
std::vector<Range> merge(const std::vector<Token>& tokens, const std::vector<bool>& kept) {
    std::vector<Range> ranges;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (kept[i]) continue;
        if (!ranges.empty() && ranges.back().end == tokens[i].start) {
            ranges.back().end = tokens[i].end;
        } else {
            ranges.push_back(Range{tokens[i].start, tokens[i].end});
        }
    }
    return ranges;
}

}  // namespace

ChangedRanges changedRanges(std::string_view oldLine, std::string_view newLine) {
    Interner interner;
    std::vector<Token> a;
    std::vector<Token> b;
    if (!tokenize(oldLine, interner, a) || a.empty()) return {};
    if (!tokenize(newLine, interner, b) || b.empty()) return {};
    const std::size_t m = a.size();
    const std::size_t n = b.size();

    // cell(i, j): length of the longest common subsequence of a[i...] and
    // b[j...]; at most 400, so 16 bits suffice.
    const std::size_t width = n + 1;
    std::vector<std::uint16_t> table((m + 1) * width, 0);
    auto cell = [&](std::size_t i, std::size_t j) -> std::uint16_t& { return table[i * width + j]; };
    for (std::size_t i = m; i-- > 0;) {
        for (std::size_t j = n; j-- > 0;) {
            if (a[i].id == b[j].id) {
                cell(i, j) = static_cast<std::uint16_t>(cell(i + 1, j + 1) + 1);
            } else {
                cell(i, j) = std::max(cell(i + 1, j), cell(i, j + 1));
            }
        }
    }
    if (cell(0, 0) < 1) return {};

    std::vector<bool> keptA(m, false);
    std::vector<bool> keptB(n, false);
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < m && j < n) {
        if (a[i].id == b[j].id) {
            keptA[i] = true;
            keptB[j] = true;
            ++i;
            ++j;
        } else if (cell(i + 1, j) >= cell(i, j + 1)) {
            ++i;
        } else {
            ++j;
        }
    }
    return ChangedRanges{merge(a, keptA), merge(b, keptB)};
}

}  // namespace tarv::core::WordDiff
