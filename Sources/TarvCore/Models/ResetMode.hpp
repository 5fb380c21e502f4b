#pragma once

#include <array>
#include <cstddef>

namespace tarv::core {

// How a reset treats the index.
enum class ResetMode { soft, mixed };

inline constexpr std::array<ResetMode, 2> allResetModes = {ResetMode::soft, ResetMode::mixed};

}  // namespace tarv::core
