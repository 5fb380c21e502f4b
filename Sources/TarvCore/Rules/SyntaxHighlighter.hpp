#pragma once

#include "TarvCore/Models/SyntaxLanguage.hpp"
#include "TarvCore/Models/SyntaxToken.hpp"

#include <string_view>
#include <vector>

namespace tarv::core::SyntaxHighlighter {

// The coloured spans of one line (no line break) in increasing order, never
// overlapping. Keeps no state between lines: a block comment is recognised on
// its first line and on continuation lines that start with "*".
std::vector<SyntaxToken> tokens(std::string_view line, SyntaxLanguage language);

}  // namespace tarv::core::SyntaxHighlighter
