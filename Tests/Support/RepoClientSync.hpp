#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tarv::testing {

// A door that threads wait at until the test opens it; a wait gives up (and
// says so) after a generous bound, so a broken test fails instead of hanging.
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

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
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
