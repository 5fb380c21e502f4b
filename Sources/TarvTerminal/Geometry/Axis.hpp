#pragma once

#include <array>

namespace tarv::terminal {

// The direction along which `Layout::split` divides a rectangle.
enum class Axis { horizontal, vertical };

inline constexpr std::array<Axis, 2> allAxes{Axis::horizontal, Axis::vertical};

}  // namespace tarv::terminal
