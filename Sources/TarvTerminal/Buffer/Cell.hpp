#pragma once

#include <string>

#include "TarvTerminal/Style/Style.hpp"

namespace tarv::terminal {

// One cell of the screen: the character shown (one grapheme cluster, UTF-8),
// its style, and whether it is the right half of a double-width character
// (then its own character is a space and is never printed).
struct Cell {
    std::string character = " ";
    Style style{};
    bool isContinuation = false;

    static Cell blank() { return Cell{}; }

    bool operator==(const Cell&) const = default;
};

}  // namespace tarv::terminal
