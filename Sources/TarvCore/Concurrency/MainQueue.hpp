#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

namespace tarv::core {

// The main loop's queue: any thread posts closures; the main thread waits on
// `wakeFd()` with poll and runs them first in, first out with `drain()`.
class MainQueue {
public:
    MainQueue();
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

private:
    int fd_ = -1;
    mutable std::mutex mutex_;
    std::deque<std::function<void()>> queue_;
};

}  // namespace tarv::core
