#pragma once

#include <cstdint>

namespace tarv::terminal::ColorDowngrade {

// The nearest entry of the 256-colour palette: the grey ramp for equal
// channels, otherwise the 6x6x6 colour cube.
std::uint8_t indexed256(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// The index 0-15 of the nearest basic ANSI colour (squared distance; on a tie
// the lower index wins).
std::uint8_t indexed16(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

}  // namespace tarv::terminal::ColorDowngrade
