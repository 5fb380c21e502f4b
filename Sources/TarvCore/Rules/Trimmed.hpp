#pragma once

#include <string>
#include <string_view>

namespace tarv::core {

// The text without its leading and trailing white space (Unicode White_Space,
// line breaks included; CR LF counts as one character). A text of white space
// only gives the empty text.
std::string trimmed(std::string_view text);

// The same, as a view into `text`.
std::string_view trimmedView(std::string_view text);

}  // namespace tarv::core
