#pragma once

#include <string>
#include <string_view>

namespace tarv::core::text {

// Percent-encodes every byte except ASCII letters, digits, "-", ".", "_",
// "~" and the characters in `alsoKeep`, with upper-case hexadecimal digits.
std::string percentEncoded(std::string_view bytes, std::string_view alsoKeep = {});

}  // namespace tarv::core::text
