#pragma once

#include <string_view>

namespace tarv::core::text {

// True when no array or object in `json` opens deeper than `maxDepth`
// levels. A cheap scan over the raw text (strings and their escapes are
// skipped), run before untrusted JSON is handed to a parser whose recursion
// would otherwise follow the input's nesting.
bool jsonNestingWithin(std::string_view json, int maxDepth) noexcept;

}  // namespace tarv::core::text
