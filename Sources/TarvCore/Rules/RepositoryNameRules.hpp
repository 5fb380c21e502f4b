#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarv::core::RepositoryNameRules {

// Longest name accepted, in characters.
inline constexpr std::int64_t maxLength = 100;

// The typed name trimmed, with every Unicode scalar outside ASCII letters,
// digits, "-", "." and "_" replaced by "-": "My Repo!" -> "My-Repo-".
std::string sanitize(std::string_view name);

// Not empty, at most 100 characters, not "." or "..", and only ASCII
// letters, digits, "-", "." and "_". Not trimmed.
bool isValid(std::string_view name);

}  // namespace tarv::core::RepositoryNameRules
