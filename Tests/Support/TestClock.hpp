#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <stop_token>
#include <vector>

#include "TarvCore/Ports/AppClock.hpp"

namespace tarv::testing {

// A clock for tests of timed behaviour without real waiting. `now()` is
// whatever the test set. A sleep either returns at once, moving the time on
// by its duration (`SleepMode::advance`, the default), or blocks until the
// test moves the time past its end (`SleepMode::wait`). Either way a sleep
// throws core::CancellationError when its stop token fires first (also when
// it had fired before the call), and every sleep asked for is recorded. More
// than 100000 sleeps (or the limit set) is taken for a runaway loop.
// Safe to use from several threads.
class TestClock final : public core::AppClock {
public:
    enum class SleepMode { advance, wait };

    // 2024-01-01 00:00:00 UTC.
    static std::chrono::system_clock::time_point defaultStart();

    explicit TestClock(SleepMode mode = SleepMode::advance,
                       std::chrono::system_clock::time_point start = defaultStart());

    std::chrono::system_clock::time_point now() const override;
    void sleep(std::chrono::milliseconds duration, std::stop_token stop) const override;

    void setNow(std::chrono::system_clock::time_point time);
    // Moves the time on; sleepers whose end is reached return.
    void advance(std::chrono::milliseconds duration);
    void setSleepMode(SleepMode mode);
    // Sleeps beyond this many in all throw std::logic_error, so that a loop
    // that should have ended fails its test instead of spinning forever.
    void limitSleeps(std::size_t count);

    // The durations of every sleep asked for so far, in order.
    std::vector<std::chrono::milliseconds> sleeps() const;
    // Sleeps blocked right now (in `wait` mode).
    std::size_t sleepersWaiting() const;
    // Waits (in real time, at most `limit`) until at least `count` sleeps
    // have been asked for in all; false at the limit.
    bool waitForSleeps(std::size_t count, std::chrono::milliseconds limit) const;
    // Waits (in real time, at most `limit`) until at least `count` sleepers
    // are blocked; false at the limit.
    bool waitForSleepers(std::size_t count, std::chrono::milliseconds limit) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable_any changed_;
    mutable std::chrono::system_clock::time_point now_;
    SleepMode mode_;
    mutable std::vector<std::chrono::milliseconds> sleeps_;
    mutable std::size_t waiting_ = 0;
    std::size_t sleepLimit_ = 100'000;
};

}  // namespace tarv::testing
