#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>

#include "TarvCore/Concurrency/MainQueue.hpp"
#include "TarvFeatures/Architecture/EffectExecutor.hpp"

namespace tarv::features {

// Runs each job on a thread of its own and posts its actions and its end to
// the main loop's queue. Threads are not joined by the store: a cancelled
// job ends when its code sees the stop token. `waitForIdle` lets the program
// give running jobs a bounded time to end at quit.
class LiveEffectExecutor final : public EffectExecutor {
public:
    explicit LiveEffectExecutor(std::shared_ptr<core::MainQueue> queue);

    void start(std::stop_source stop, std::function<void(std::stop_token)> body,
               std::function<void()> done) override;
    void post(std::function<void()> closure) override;

    // Number of job threads still running.
    std::size_t runningCount() const;
    // Waits until no job thread runs or the time passes; true when idle.
    bool waitForIdle(std::chrono::milliseconds limit) const;

private:
    struct Counter {
        mutable std::mutex mutex;
        mutable std::condition_variable idle;
        std::size_t running = 0;
    };
    std::shared_ptr<core::MainQueue> queue_;
    std::shared_ptr<Counter> counter_ = std::make_shared<Counter>();
};

}  // namespace tarv::features
