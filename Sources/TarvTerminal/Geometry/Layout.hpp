#pragma once

#include <vector>

#include "TarvTerminal/Geometry/Axis.hpp"
#include "TarvTerminal/Geometry/Constraint.hpp"
#include "TarvTerminal/Geometry/Rect.hpp"

namespace tarv::terminal::Layout {

// Divides `rect` along `axis` into one rectangle per constraint, in order:
// lengths are served first come first served, then the fills share what is
// left by weight (a weight below 1 counts as 1) and the last fill takes the
// rounding remainder. Each rectangle spans the whole of `rect` across the axis.
std::vector<Rect> split(const Rect& rect, Axis axis, const std::vector<Constraint>& constraints);

}  // namespace tarv::terminal::Layout
