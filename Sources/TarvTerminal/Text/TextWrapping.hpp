#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarv::terminal::TextWrapping {

// Breaks `text` into lines of at most `width` columns: paragraphs at "\n"
// (each gives at least one line, empty ones included), words at " " (runs
// of spaces collapse), words wider than the line cut into pieces. Empty for
// a width below 1.
std::vector<std::string> wrap(std::string_view text, std::int64_t width);

}  // namespace tarv::terminal::TextWrapping
