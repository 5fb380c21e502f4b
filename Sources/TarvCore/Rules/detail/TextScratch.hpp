#pragma once

// Small Unicode helpers shared by the rules of this folder (grapheme clusters,
// case mapping, character classes, normalisation). Internal: not part of the
// rules' interface.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarv::core::rules_detail {

// Decodes the code point at `pos` and advances `pos`. An ill-formed sequence
// yields U+FFFD and advances over its maximal subpart.
char32_t decodeNext(std::string_view text, std::size_t& pos);

void appendUTF8(std::string& out, char32_t codePoint);

// The text cut into user-perceived characters (extended grapheme clusters);
// each piece is a view into `text`.
std::vector<std::string_view> graphemes(std::string_view text);

// Number of grapheme clusters of `text`.
std::size_t graphemeCount(std::string_view text);

bool isWhitespace(char32_t codePoint);
bool isLetterOrNumber(char32_t codePoint);
bool isLetter(char32_t codePoint);
bool isNumber(char32_t codePoint);

// The first code point of `text` (U+FFFD for a broken sequence, 0 for empty).
char32_t firstCodePoint(std::string_view text);

// Per-code-point case mapping; ill-formed bytes become U+FFFD.
std::string lowercased(std::string_view text);
std::string uppercased(std::string_view text);

// Canonical composition (NFC); ill-formed bytes become U+FFFD.
std::string nfc(std::string_view text);

// True when the text is plain ASCII.
bool isASCII(std::string_view text);

}  // namespace tarv::core::rules_detail
