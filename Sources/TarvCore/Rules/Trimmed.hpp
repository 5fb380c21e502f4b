#pragma once

#include "TarvCore/Text/Trim.hpp"

namespace tarv::core {

// The text without its leading and trailing white space (Unicode White_Space,
// line breaks included; CR LF counts as one character). A text of white space
// only gives the empty text. The rules of this folder all trim with it.
using text::trimmed;
using text::trimmedView;

}  // namespace tarv::core
