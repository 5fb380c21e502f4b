#include "TarvTerminal/Backend/WheelSummary.hpp"

#include <algorithm>

namespace tarv::terminal {

WheelSummary::WheelSummary(const std::vector<WheelSample>& samples, std::chrono::milliseconds gap) {
    std::chrono::milliseconds first{0};
    std::chrono::milliseconds previous{0};
    for (const WheelSample& sample : samples) {
        const std::chrono::milliseconds delta = sample.at - previous;
        if (gestures.empty() || delta > gap || sample.direction != gestures.back().direction) {
            gestures.push_back(Gesture{1, std::chrono::milliseconds{0}, sample.direction, std::chrono::milliseconds{0}});
            first = sample.at;
        } else {
            Gesture& g = gestures.back();
            g.events += 1;
            g.duration = sample.at - first;
            g.longestGap = std::max(g.longestGap, delta);
        }
        previous = sample.at;
    }
}

std::int64_t WheelSummary::totalEvents() const {
    std::int64_t total = 0;
    for (const Gesture& g : gestures) total += g.events;
    return total;
}

}  // namespace tarv::terminal
