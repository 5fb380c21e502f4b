#pragma once

#include <array>

namespace tarv::terminal {

// How many colours the terminal can show, from least to most capable.
enum class ColorSupport { none, ansi16, ansi256, trueColor };

inline constexpr std::array<ColorSupport, 4> allColorSupports{ColorSupport::none, ColorSupport::ansi16,
                                                               ColorSupport::ansi256, ColorSupport::trueColor};

}  // namespace tarv::terminal
