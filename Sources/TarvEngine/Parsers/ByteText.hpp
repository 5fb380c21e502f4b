#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Small helpers for reading git's output. They work on the bytes exactly as
// git wrote them: nothing is decoded or repaired, so paths and diff text that
// are not UTF-8 pass through unchanged.
namespace tarv::engine::bytes {

// Calls `fn(piece)` for every non-empty piece of `text` between `separator`
// bytes, without allocating.
template <class F>
void forEachPiece(std::string_view text, char separator, F&& fn) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) fn(text.substr(start, end - start));
        start = end + 1;
    }
}

// How many times `byte` occurs in `text`. Found with memchr, which skips
// the long stretches between separators far faster than a byte-wise count.
std::size_t count(std::string_view text, char byte);

// Cuts the first `count` fields off a record whose fields are separated by
// single `separator` bytes (empty fields kept); `rest` receives everything
// after the last of those separators. Returns false when there are fewer
// separators. The same as splitting at most `count` times keeping empty
// pieces and asking for exactly `count` + 1 pieces.
bool takeFields(std::string_view record, char separator, std::size_t count, std::string_view* fields,
                std::string_view& rest);

// A decimal integer: an optional "+" or "-" followed by at least one ASCII
// digit and nothing else, within the range of a signed 64-bit integer.
std::optional<std::int64_t> decimal(std::string_view text);

// Sort key of a path: full Unicode lower case in canonical composition (NFC).
// Plain ASCII is handled without decoding.
std::string lowercaseKey(std::string_view text);

// Canonical composition (NFC) of a path, for ordering paths that differ only
// in case. Plain ASCII is returned as it is.
std::string canonicalKey(std::string_view text);

}  // namespace tarv::engine::bytes
