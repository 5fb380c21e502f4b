#pragma once

#include <cstdint>
#include <optional>

#include "TarvTerminal/Buffer/Canvas.hpp"
#include "TarvTerminal/Geometry/Rect.hpp"
#include "TarvTerminal/Style/Style.hpp"

namespace tarv::terminal::ScrollBar {

struct Thumb {
    std::int64_t start = 0;   // first row, relative to the bar's top
    std::int64_t length = 0;  // rows
    bool operator==(const Thumb&) const = default;
};

// The thumb of a bar `height` rows high over `total` rows of content of
// which `viewport` are visible from row `offset`; none when no bar is needed.
std::optional<Thumb> thumb(std::int64_t height, std::int64_t offset, std::int64_t total, std::int64_t viewport);

// Draws the bar with its top cell at (x, y): the track "│" in `trackStyle`
// and the thumb "┃" in `thumbStyle`. Returns the thumb's rectangle, or none
// (drawing nothing) when no bar is needed.
std::optional<Rect> draw(Canvas& canvas, std::int64_t x, std::int64_t y, std::int64_t height, std::int64_t offset,
                         std::int64_t total, std::int64_t viewport, const Style& trackStyle,
                         const Style& thumbStyle);

}  // namespace tarv::terminal::ScrollBar
