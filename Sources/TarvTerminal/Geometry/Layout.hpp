#pragma once

#include <cstdint>
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

// The rows of `area` handed out in order from its top down and from its
// bottom up, each as wide as the area, so that a view lists its rows in
// place of counting offsets. Rows are placed where they fall: once the top
// and the bottom meet, a row lies past the other end (drawing clips to the
// canvas, and `rest` tells a view how much room is left). A count below 0
// counts as 0.
class RowStack {
public:
    explicit RowStack(const Rect& area) : area_(area) {}

    // The next `count` rows below those taken from the top.
    Rect take(std::int64_t count = 1);
    // Leaves the next `count` rows from the top blank.
    void skip(std::int64_t count = 1);
    // The next `count` rows above those taken from the bottom.
    Rect takeBottom(std::int64_t count = 1);
    // Leaves the next `count` rows from the bottom blank.
    void skipBottom(std::int64_t count = 1);
    // The rows between the top and the bottom taken so far; 0 rows high,
    // below the top ones, once they meet.
    Rect rest() const;

private:
    Rect area_;
    std::int64_t fromTop_ = 0;
    std::int64_t fromBottom_ = 0;
};

}  // namespace tarv::terminal::Layout
