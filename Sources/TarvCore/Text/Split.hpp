#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "TarvCore/Text/Utf8.hpp"

namespace tarv::core::text {

struct SplitOptions {
    // At most this many cuts; the rest of the text is the last piece.
    std::size_t maxSplits = std::numeric_limits<std::size_t>::max();
    // Drop empty pieces (they then do not count against maxSplits).
    bool omittingEmpty = true;
};

// Cuts the text at every occurrence of the separator. The separator is
// matched as bytes, so a line feed after a carriage return still cuts, and
// git's NUL-, tab- and LF-separated output splits exactly; the pieces are
// views into `text` and keep its bytes.
//
// The rules for empty pieces and the limit: with maxSplits 0 or an empty
// text the result is the whole text as one piece (none when it is empty and
// empties are omitted); a piece appended before a cut counts toward the
// limit, an omitted empty one does not; after the last cut the rest is one
// piece, omitted only when it is empty and empties are omitted.
std::vector<std::string_view> split(std::string_view text, char separator, SplitOptions options = {});
std::vector<std::string_view> split(std::string_view text, std::string_view separator, SplitOptions options = {});

template <detail::TemporaryString S>
std::vector<std::string_view> split(S&& text, char separator, SplitOptions options = {}) = delete;
template <detail::TemporaryString S>
std::vector<std::string_view> split(S&& text, std::string_view separator, SplitOptions options = {}) = delete;

}  // namespace tarv::core::text
