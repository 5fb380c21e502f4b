#include "TarvCore/Concurrency/MainQueue.hpp"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

namespace tarv::core {

MainQueue::MainQueue() {
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

}  // namespace tarv::core
