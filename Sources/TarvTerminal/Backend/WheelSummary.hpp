#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "TarvTerminal/Backend/WheelSample.hpp"

namespace tarv::terminal {

// Wheel steps grouped into gestures: a gesture ends at a pause longer than
// the gap or at a change of direction.
struct WheelSummary {
    struct Gesture {
        std::int64_t events = 0;
        std::chrono::milliseconds duration{0};  // first step to last
        MouseEvent::Direction direction = MouseEvent::Direction::up;
        std::chrono::milliseconds longestGap{0};

        bool operator==(const Gesture&) const = default;
    };

    static constexpr std::chrono::milliseconds defaultGap{250};

    std::vector<Gesture> gestures;

    explicit WheelSummary(const std::vector<WheelSample>& samples, std::chrono::milliseconds gap = defaultGap);

    std::int64_t totalEvents() const;

    bool operator==(const WheelSummary&) const = default;
};

}  // namespace tarv::terminal
