#pragma once

#include <array>
#include <cstddef>

namespace tarv::core {

// Which side to take for a whole conflicted file.
enum class ConflictResolution { mine, theirs };

inline constexpr std::array<ConflictResolution, 2> allConflictResolutions = {ConflictResolution::mine, ConflictResolution::theirs};

}  // namespace tarv::core
