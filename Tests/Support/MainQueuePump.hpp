#pragma once

#include <poll.h>

#include <chrono>
#include <functional>

#include "TarvCore/Concurrency/MainQueue.hpp"

namespace tarv::testing {

// Runs `queue` on this thread, as the program's loop does (its posted
// closures and its due timers), until `done` holds; false once `limit` has
// passed.
inline bool pumpMainQueue(core::MainQueue& queue, const std::function<bool()>& done,
                          std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        pollfd descriptor{queue.wakeFd(), POLLIN, 0};
        const int timer = queue.timerTimeout();
        ::poll(&descriptor, 1, timer >= 0 && timer < 50 ? timer : 50);
        queue.drain();
        queue.runDueTimers();
    }
    return true;
}

}  // namespace tarv::testing
