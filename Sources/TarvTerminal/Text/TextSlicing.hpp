#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarv::terminal::TextSlicing {

// One line of raw text made fit for the screen: tabs expanded to the next
// multiple of `tabWidth` (at least 1), and every control character (C0, DEL
// and C1, CR LF included) shown as one "·".
std::string displayable(std::string_view text, std::int64_t tabWidth = 4);

// A name (a path, a ref) as shown: every control character, tabs and line
// breaks included, as one "·" each, so that "a<LF>b" never reads as "ab";
// everything else, invalid bytes too, is left as it is.
std::string withVisibleControls(std::string_view text);

// The part of `text` covering the columns startColumn ..< startColumn + width.
// A double-width character cut by either edge is replaced by a space; the
// result is never wider than `width` and is not padded at the end.
std::string slice(std::string_view text, std::int64_t startColumn, std::int64_t width);

}  // namespace tarv::terminal::TextSlicing
