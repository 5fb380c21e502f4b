#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

namespace tarv::core {

// The main loop's queue: any thread posts closures; the main thread waits on
// `wakeFd()` with poll and runs them first in, first out with `drain()`.
//
// It also keeps timers: closures due at a time of the (injectable) monotonic
// clock. The main loop adds `timerTimeout()` to its poll timeout and calls
// `runDueTimers()`; no thread sleeps for them.
class MainQueue {
public:
    using Clock = std::chrono::steady_clock;
    using Now = std::function<Clock::time_point()>;

    // `now` defaults to the monotonic clock; tests inject their own.
    explicit MainQueue(Now now = {});
    ~MainQueue();
    MainQueue(const MainQueue&) = delete;
    MainQueue& operator=(const MainQueue&) = delete;

    // Thread-safe; wakes the main loop.
    void post(std::function<void()> closure);

    // Readable while closures are waiting (an eventfd, close-on-exec).
    int wakeFd() const { return fd_; }

    // Runs the closures that were queued when it was called, in order, and
    // returns how many ran. Closures they post run in a later drain.
    std::size_t drain();

    std::size_t pendingCount() const;

    // Thread-safe; `closure` runs on the main thread in the first
    // `runDueTimers` at or after `delay` from now. Timers due at the same
    // time run in the order they were set.
    void postAfter(Clock::duration delay, std::function<void()> closure);

    // Milliseconds until the earliest timer is due, rounded up (0 when one
    // is due), or -1 when none is set: a timeout for poll.
    int timerTimeout() const;

    // Runs the timers that are due, earliest first, and returns how many
    // ran. Timers they set run in a later call.
    std::size_t runDueTimers();

    std::size_t timerCount() const;

private:
    Clock::time_point now() const { return now_ ? now_() : Clock::now(); }
    void wake();

    int fd_ = -1;
    Now now_;
    mutable std::mutex mutex_;
    std::deque<std::function<void()>> queue_;
    std::multimap<Clock::time_point, std::function<void()>> timers_;
};

}  // namespace tarv::core
