#pragma once

#include "TarvTerminal/Geometry/Point.hpp"

namespace tarv::terminal {

// One mouse click seen by the probe, with the encoding the terminal used.
struct TerminalProbeClick {
    enum class Encoding { sgr, x10, unknown };

    Encoding encoding = Encoding::unknown;
    Point position;  // zero-based column and row

    bool operator==(const TerminalProbeClick&) const = default;
};

}  // namespace tarv::terminal
