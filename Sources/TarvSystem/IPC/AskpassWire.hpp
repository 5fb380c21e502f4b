#pragma once

#include <cstddef>
#include <string_view>

// Limits shared by both ends of the askpass relay.
namespace tarv::system::AskpassWire {

// A reader takes at most this many bytes before the line's 0x0A, so the
// longest accepted line has one byte less.
inline constexpr std::size_t maxLineBytes = 65536;

// Deepest nesting of arrays and objects a wire line may hold; anything
// deeper is refused before the JSON parser sees it.
inline constexpr int maxNesting = 16;

// True when `text` is shorter than `maxLineBytes` and its arrays and objects
// (outside strings) nest no deeper than `maxNesting`.
bool isWithinLimits(std::string_view text);

}  // namespace tarv::system::AskpassWire
