#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "TarvCore/Concurrency/CancellationError.hpp"

namespace tarv::testing {

// A door that threads wait at until the test opens it; a wait gives up (and
// says so) after a generous bound, so a broken test fails instead of hanging.
// A job can also pass it under its stop token: `pass` records the arrival,
// returns once the gate is open, or throws core::CancellationError (and
// records it) when the token fires first.
class Gate {
public:
    void open() {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        changed_.notify_all();
    }
    bool wait(std::chrono::milliseconds bound = std::chrono::seconds(30)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, bound, [&] { return open_; });
    }
    bool isOpen() const {
        std::lock_guard lock(mutex_);
        return open_;
    }

    void pass(std::stop_token stop) {
        std::unique_lock lock(mutex_);
        arrived_ = true;
        changed_.notify_all();
        if (!changed_.wait(lock, stop, [&] { return open_; })) {
            stopped_ = true;
            throw core::CancellationError{};
        }
    }
    // Whether a job arrived at `pass` within the bound.
    bool awaitArrival(std::chrono::milliseconds bound = std::chrono::seconds(10)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, bound, [&] { return arrived_; });
    }
    // Whether a job's stop token fired while it waited at `pass`.
    bool stopped() const {
        std::lock_guard lock(mutex_);
        return stopped_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable_any changed_;
    bool open_ = false;
    bool arrived_ = false;
    bool stopped_ = false;
};

// Polls `condition` until it holds or the bound passes; returns whether it
// held. For states another thread reaches "soon" (a caller queued, a process
// started), never for timing itself.
inline bool eventually(const std::function<bool()>& condition,
                       std::chrono::milliseconds bound = std::chrono::seconds(30)) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// A thread-safe list of what happened, in order.
class EventLog {
public:
    void add(std::string event) {
        std::lock_guard lock(mutex_);
        events_.push_back(std::move(event));
    }
    std::vector<std::string> events() const {
        std::lock_guard lock(mutex_);
        return events_;
    }
    bool contains(const std::string& event) const {
        std::lock_guard lock(mutex_);
        for (const auto& e : events_)
            if (e == event) return true;
        return false;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> events_;
};

}  // namespace tarv::testing
