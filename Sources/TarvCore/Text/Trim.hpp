#pragma once

#include <string>
#include <string_view>

#include "TarvCore/Text/Utf8.hpp"

namespace tarv::core::text {

// The text without its leading and trailing white space (Unicode White_Space,
// newlines included). Works on characters: a cluster is white space when its
// first scalar is, so CR LF goes as one and a space carrying a combining mark
// goes whole. Bytes in between are kept exactly, ill-formed ones included.
std::string_view trimmedView(std::string_view text) noexcept;
template <detail::TemporaryString S>
std::string_view trimmedView(S&& text) = delete;

inline std::string trimmed(std::string_view text) { return std::string(trimmedView(text)); }

}  // namespace tarv::core::text
