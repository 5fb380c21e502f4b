#include "TarvCore/Concurrency/MainQueue.hpp"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <system_error>
#include <utility>

namespace tarv::core {

MainQueue::MainQueue(Now now) : now_(std::move(now)) {
    fd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

MainQueue::~MainQueue() {
    if (fd_ >= 0) ::close(fd_);
}

void MainQueue::post(std::function<void()> closure) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(closure));
    }
    wake();
}

void MainQueue::wake() {
    std::uint64_t one = 1;
    // EAGAIN only when the counter is saturated, and then it is readable anyway.
    [[maybe_unused]] auto n = ::write(fd_, &one, sizeof one);
}

std::size_t MainQueue::drain() {
    std::uint64_t count = 0;
    [[maybe_unused]] auto n = ::read(fd_, &count, sizeof count);
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard lock(mutex_);
        batch.swap(queue_);
    }
    for (auto& closure : batch) closure();
    std::size_t ran = batch.size();
    std::lock_guard lock(mutex_);
    if (!queue_.empty()) {
        // Posted while we ran (or between the read and the swap): keep the
        // descriptor readable so the loop comes back.
        std::uint64_t one = 1;
        [[maybe_unused]] auto m = ::write(fd_, &one, sizeof one);
    }
    return ran;
}

std::size_t MainQueue::pendingCount() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

void MainQueue::postAfter(Clock::duration delay, std::function<void()> closure) {
    {
        std::lock_guard lock(mutex_);
        timers_.emplace(now() + delay, std::move(closure));
    }
    // A loop already waiting in poll learns of the new deadline.
    wake();
}

int MainQueue::timerTimeout() const {
    std::lock_guard lock(mutex_);
    if (timers_.empty()) return -1;
    const Clock::time_point due = timers_.begin()->first;
    const Clock::time_point current = now();
    if (due <= current) return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(due - current).count();
    return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

std::size_t MainQueue::runDueTimers() {
    std::deque<std::function<void()>> due;
    {
        std::lock_guard lock(mutex_);
        const auto end = timers_.upper_bound(now());
        for (auto it = timers_.begin(); it != end; ++it) due.push_back(std::move(it->second));
        timers_.erase(timers_.begin(), end);
    }
    for (auto& closure : due) closure();
    return due.size();
}

std::size_t MainQueue::timerCount() const {
    std::lock_guard lock(mutex_);
    return timers_.size();
}

}  // namespace tarv::core
