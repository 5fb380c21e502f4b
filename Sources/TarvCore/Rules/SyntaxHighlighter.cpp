#include "TarvCore/Rules/SyntaxHighlighter.hpp"

#include "TarvCore/Text/Graphemes.hpp"
#include "TarvCore/Text/Unicode.hpp"
#include "TarvCore/Text/Utf8.hpp"

#include <string>

namespace tarv::core::SyntaxHighlighter {

namespace {

using Kind = SyntaxToken::Kind;

// Every rule looks only for ASCII characters, so the line is read as one code
// per character: the byte of an ASCII character, `otherCharacter` for any
// other one, `otherNumeric` for another one that is a number.
constexpr char otherCharacter = static_cast<char>(0x80);
constexpr char otherNumeric = static_cast<char>(0x81);

bool hasBlockComments(SyntaxLanguage language) {
    switch (language) {
        case SyntaxLanguage::swift:
        case SyntaxLanguage::cLike:
        case SyntaxLanguage::go:
        case SyntaxLanguage::rust:
        case SyntaxLanguage::javascript:
        case SyntaxLanguage::sql: return true;
        default: return false;
    }
}

std::string_view lineCommentMarker(SyntaxLanguage language) {
    switch (language) {
        case SyntaxLanguage::swift:
        case SyntaxLanguage::cLike:
        case SyntaxLanguage::go:
        case SyntaxLanguage::rust:
        case SyntaxLanguage::javascript: return "//";
        case SyntaxLanguage::python:
        case SyntaxLanguage::ruby:
        case SyntaxLanguage::shell:
        case SyntaxLanguage::yaml: return "#";
        case SyntaxLanguage::sql: return "--";
        case SyntaxLanguage::json: return "";
    }
    return "";
}

bool marksTypes(SyntaxLanguage language) {
    switch (language) {
        case SyntaxLanguage::swift:
        case SyntaxLanguage::cLike:
        case SyntaxLanguage::go:
        case SyntaxLanguage::rust:
        case SyntaxLanguage::javascript:
        case SyntaxLanguage::python:
        case SyntaxLanguage::ruby: return true;
        default: return false;
    }
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isWordPart(char c) { return c == '_' || isLetter(c) || isDigit(c); }
bool isIdentifierStart(char c) { return c == '_' || c == '@' || c == '#' || c == '$' || isLetter(c); }
bool isNumeric(char c) { return isDigit(c) || c == otherNumeric; }

// The codes of a line that is not plain ASCII: one per grapheme cluster.
std::string characterCodes(std::string_view line) {
    std::string codes;
    codes.reserve(line.size());
    text::forEachGrapheme(line, [&](std::string_view cluster) {
        if (cluster.size() == 1 && static_cast<unsigned char>(cluster[0]) < 0x80) {
            codes.push_back(cluster[0]);
        } else if (text::isNumber(cluster)) {
            codes.push_back(otherNumeric);
        } else {
            codes.push_back(otherCharacter);
        }
    });
    return codes;
}

bool matches(std::string_view marker, std::string_view c, std::size_t at) {
    return !marker.empty() && at + marker.size() <= c.size() && c.substr(at, marker.size()) == marker;
}

// Index just past the string that opens at `open`: after its closing
// delimiter, or the end of the line when it is unterminated.
std::size_t closingQuote(std::string_view c, std::size_t open) {
    const char quote = c[open];
    std::size_t j = open + 1;
    while (j < c.size()) {
        if (c[j] == '\\') {
            j += 2;
            continue;
        }
        if (c[j] == quote) return j + 1;
        ++j;
    }
    return c.size();
}

std::vector<SyntaxToken> tokenize(std::string_view c, SyntaxLanguage language) {
    std::vector<SyntaxToken> result;
    const std::size_t n = c.size();
    const bool blocks = hasBlockComments(language);
    auto add = [&](std::size_t start, std::size_t end, Kind kind) {
        result.push_back(SyntaxToken{static_cast<std::int64_t>(start), static_cast<std::int64_t>(end - start), kind});
    };

    if (blocks) {
        std::size_t j = 0;
        while (j < n && (c[j] == ' ' || c[j] == '\t')) ++j;
        if (j < n && c[j] == '*' && (j + 1 == n || c[j + 1] == ' ' || c[j + 1] == '/')) {
            add(j, n, Kind::comment);
            return result;
        }
    }
    if (n == 0) return result;

    const std::string_view marker = lineCommentMarker(language);
    const bool markerNeedsBlank = language == SyntaxLanguage::shell || language == SyntaxLanguage::yaml;
    const std::string_view delimiters = syntaxStringDelimiters(language);
    const auto& keywords = syntaxKeywords(language);
    std::string lowered;

    std::size_t i = 0;
    while (i < n) {
        const char ch = c[i];
        if (blocks && matches("/*", c, i)) {
            const std::size_t close = c.find("*/", i + 2);
            const std::size_t end = close == std::string_view::npos ? n : close + 2;
            add(i, end, Kind::comment);
            i = end;
            continue;
        }
        if (matches(marker, c, i) && (!markerNeedsBlank || i == 0 || c[i - 1] == ' ' || c[i - 1] == '\t')) {
            add(i, n, Kind::comment);
            break;
        }
        if (delimiters.find(ch) != std::string_view::npos) {
            const std::size_t end = closingQuote(c, i);
            add(i, end, Kind::string);
            i = end;
            continue;
        }
        if (isDigit(ch) && (i == 0 || !isWordPart(c[i - 1]))) {
            std::size_t j = i + 1;
            while (j < n) {
                if (isWordPart(c[j])) {
                    ++j;
                } else if (c[j] == '.' && j + 1 < n && isNumeric(c[j + 1])) {
                    ++j;
                } else {
                    break;
                }
            }
            add(i, j, Kind::number);
            i = j;
            continue;
        }
        if (isIdentifierStart(ch)) {
            std::size_t j = i + 1;
            while (j < n && isWordPart(c[j])) ++j;
            if (language == SyntaxLanguage::ruby && j < n && c[j] == '?') ++j;
            const std::string_view word = c.substr(i, j - i);
            bool keyword;
            if (language == SyntaxLanguage::sql) {
                lowered = text::lowercased(word);
                keyword = keywords.contains(lowered);
            } else {
                keyword = keywords.contains(word);
            }
            if (keyword) {
                add(i, j, Kind::keyword);
            } else if (marksTypes(language) && word.front() != '@') {
                for (char w : word) {
                    if (isLetter(w)) {
                        if (w >= 'A' && w <= 'Z') add(i, j, Kind::type);
                        break;
                    }
                }
            }
            i = j;
            continue;
        }
        ++i;
    }
    return result;
}

}  // namespace

std::vector<SyntaxToken> tokens(std::string_view line, SyntaxLanguage language) {
    // A plain ASCII line is one character per byte (only CR LF would join two).
    if (text::isAscii(line) && line.find("\r\n") == std::string_view::npos) return tokenize(line, language);
    const std::string codes = characterCodes(line);
    return tokenize(codes, language);
}

}  // namespace tarv::core::SyntaxHighlighter
