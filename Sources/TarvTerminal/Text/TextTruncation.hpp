#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarv::terminal::TextTruncation {

// `text` cut at the end to `width` columns, ending with "…". Unchanged when
// it fits; "…" alone for a width of 1; empty for a width below 1.
std::string tail(std::string_view text, std::int64_t width);

// `text` cut in the middle to `width` columns with "…", keeping up to
// `keepTail` columns of its end (two thirds of the width when absent, never
// more than width - 2).
std::string middle(std::string_view text, std::int64_t width, std::optional<std::int64_t> keepTail);

// `text` cut at the end to `width` columns between words, never inside one:
// unchanged when it fits; otherwise its leading words that fit with "…"
// after them; empty when not even the first word does.
std::string wholeWords(std::string_view text, std::int64_t width);

}  // namespace tarv::terminal::TextTruncation
