#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "TarvTerminal/Input/MouseEvent.hpp"

namespace tarv::ui {

// Decides, tick by tick, whether a vertical wheel tick scrolls or is
// swallowed. Trackpads and free-spinning wheels keep sending ticks after the
// finger has stopped or turned round; three kinds are swallowed:
// - inertia in the old direction after a reversal (the brake is engaged
//   against the old direction),
// - inertia that keeps coming after a key press or a click,
// - every tick beyond `maxTicksPerGesture` of one continuous gesture.
//
// An engaged brake lets go when a tick in its direction arrives
// `releaseGap` or more after the previous one, or once it has held for
// `maxDuration`. A gesture ends at a gap of `releaseGap` or at a change of
// direction. Instants are of the monotonic clock; every call is a fixed
// number of comparisons and allocates nothing. Only up and down ticks are
// judged here.
class ScrollBrake {
public:
    using Clock = std::chrono::steady_clock;
    using Direction = terminal::MouseEvent::Direction;

    static constexpr Clock::duration releaseGap = std::chrono::milliseconds(250);
    static constexpr Clock::duration maxDuration = std::chrono::seconds(8);
    static constexpr Clock::duration recentWindow = std::chrono::seconds(1);
    static constexpr std::int64_t maxTicksPerGesture = 50;

    // True to let the tick at `now` through to scrolling.
    bool accept(Direction direction, Clock::time_point now);

    // A key press or a mouse press at `now`: a wheel still moving (a tick
    // less than `recentWindow` ago) is braked in its direction.
    void noteOtherInput(Clock::time_point now);

private:
    struct Last {
        Direction direction;
        Clock::time_point time;
    };
    struct Braked {
        Direction direction;
        Clock::time_point since;
        Clock::time_point lastSeen;
    };
    struct Stream {
        Direction direction;
        std::int64_t ticks;
        Clock::time_point lastSeen;
    };

    // Whether a braked tick is swallowed; releases a brake that has lapsed.
    bool swallowedByBrake(Direction direction, Clock::time_point now);
    // Counts the tick into the current gesture; false beyond the cap.
    bool countIntoGesture(Direction direction, Clock::time_point now);

    // The last tick that reached the normal path.
    std::optional<Last> last_;
    std::optional<Braked> braked_;
    std::optional<Stream> stream_;
};

}  // namespace tarv::ui
