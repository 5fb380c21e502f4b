#pragma once

#include <string>
#include <string_view>

namespace tarv::core::BranchNameRules {

// The typed name trimmed, with every white-space character left inside
// replaced by "-" (one per character): "  my new  branch " -> "my-new--branch".
std::string sanitize(std::string_view name);

// Whether the name, as given (not trimmed), is acceptable as a new branch
// name: git's reference-name rules (no "..", "//", "@{", no leading "-" or
// "/", no trailing "/", "." or ".lock", no component starting with ".", none
// of space ~ ^ : ? * [ \ DEL and no control characters), and not "@" alone.
bool isValid(std::string_view name);

}  // namespace tarv::core::BranchNameRules
