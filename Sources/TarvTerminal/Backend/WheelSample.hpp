#pragma once

#include <chrono>

#include "TarvTerminal/Input/MouseEvent.hpp"

namespace tarv::terminal {

// One wheel step: when the read that delivered it came, counted from the
// start of the recording, and its direction.
struct WheelSample {
    std::chrono::milliseconds at{0};
    MouseEvent::Direction direction = MouseEvent::Direction::up;

    bool operator==(const WheelSample&) const = default;
};

}  // namespace tarv::terminal
