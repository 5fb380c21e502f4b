#pragma once

#include <chrono>
#include <functional>
#include <optional>

namespace tarv::terminal {

// Coalesces frame requests: at most one frame is pending at any time, and
// frames start no more often than once per minimum interval. The first frame
// is due at once.
//
// The scheduler never draws from inside `request`: the main loop waits until
// `deadline()` (for example as its poll timeout) and then calls `runDue()`,
// which draws the pending frame when its time has come. `pending` is cleared
// before drawing, so a request made while drawing schedules the next frame.
// Everything runs on the main thread.
class FrameScheduler {
public:
    using Clock = std::chrono::steady_clock;
    using Now = std::function<Clock::time_point()>;

    static constexpr std::chrono::milliseconds defaultInterval{8};

    // `now` defaults to the monotonic clock; tests inject their own.
    explicit FrameScheduler(std::function<void()> render, Clock::duration minimumInterval = defaultInterval,
                            Now now = {});

    // Asks for a frame.
    void request();

    bool isPending() const { return pending_; }

    // When the pending frame is due; absent when none is pending.
    std::optional<Clock::time_point> deadline() const;

    // Milliseconds until the pending frame is due, rounded up (0 when due),
    // or -1 when none is pending: a timeout for poll.
    int pollTimeout() const;

    // Draws the pending frame when it is due; true when it drew.
    bool runDue();

    Clock::duration minimumInterval() const { return minimumInterval_; }

private:
    Clock::time_point now() const { return now_ ? now_() : Clock::now(); }

    std::function<void()> render_;
    Clock::duration minimumInterval_;
    Now now_;
    bool pending_ = false;
    Clock::time_point due_{};
    std::optional<Clock::time_point> lastRender_;
};

}  // namespace tarv::terminal
