#include "Support/TestClock.hpp"

#include <stdexcept>

#include "TarvCore/Concurrency/CancellationError.hpp"

namespace tarv::testing {

std::chrono::system_clock::time_point TestClock::defaultStart() {
    return std::chrono::system_clock::time_point(std::chrono::seconds(1'704'067'200));
}

TestClock::TestClock(SleepMode mode, std::chrono::system_clock::time_point start) : now_(start), mode_(mode) {}

std::chrono::system_clock::time_point TestClock::now() const {
    std::lock_guard lock(mutex_);
    return now_;
}

void TestClock::sleep(std::chrono::milliseconds duration, std::stop_token stop) const {
    std::unique_lock lock(mutex_);
    if (sleeps_.size() >= sleepLimit_) throw std::logic_error("TestClock: more sleeps than the test allows");
    sleeps_.push_back(duration);
    changed_.notify_all();
    if (stop.stop_requested()) throw core::CancellationError();
    if (mode_ == SleepMode::advance) {
        now_ += duration;
        return;
    }
    const auto end = now_ + duration;
    ++waiting_;
    changed_.notify_all();
    const bool reached = changed_.wait(lock, stop, [&] { return now_ >= end; });
    --waiting_;
    changed_.notify_all();
    if (!reached) throw core::CancellationError();
}

void TestClock::setNow(std::chrono::system_clock::time_point time) {
    std::lock_guard lock(mutex_);
    now_ = time;
    changed_.notify_all();
}

void TestClock::advance(std::chrono::milliseconds duration) {
    std::lock_guard lock(mutex_);
    now_ += duration;
    changed_.notify_all();
}

void TestClock::setSleepMode(SleepMode mode) {
    std::lock_guard lock(mutex_);
    mode_ = mode;
}

void TestClock::limitSleeps(std::size_t count) {
    std::lock_guard lock(mutex_);
    sleepLimit_ = count;
}

std::vector<std::chrono::milliseconds> TestClock::sleeps() const {
    std::lock_guard lock(mutex_);
    return sleeps_;
}

std::size_t TestClock::sleepersWaiting() const {
    std::lock_guard lock(mutex_);
    return waiting_;
}

bool TestClock::waitForSleeps(std::size_t count, std::chrono::milliseconds limit) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return sleeps_.size() >= count; });
}

bool TestClock::waitForSleepers(std::size_t count, std::chrono::milliseconds limit) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return waiting_ >= count; });
}

}  // namespace tarv::testing
