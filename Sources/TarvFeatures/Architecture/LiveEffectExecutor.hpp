#pragma once

#include <chrono>
#include <cstddef>
#include <memory>

#include "TarvCore/Concurrency/MainQueue.hpp"
#include "TarvFeatures/Architecture/EffectExecutor.hpp"

namespace tarv::features {

// Runs jobs on a pool of reused worker threads and posts their actions and
// their ends to the main loop's queue. Threads are not joined by the store:
// a cancelled job ends when its code sees the stop token.
//
// At most `workers` threads take jobs as they come; a job waits for a free
// one. Jobs block (on git, on streams, on a credential prompt), so a job
// that has waited `patience` while every worker was busy gets a thread of
// its own, which ends once no job waits: long-lived jobs never hold up the
// rest for good, and the count stays bounded in normal use. The jobs of one
// lane run one at a time in the order started; a lane's waiting jobs hold
// no thread. A timer waits in the main queue (served by the loop's poll
// timeout), never in a sleeping thread, and then runs as a job.
//
// `waitForIdle` lets the program give running jobs a bounded time to end at
// quit. Idle workers end when the executor goes.
class LiveEffectExecutor final : public EffectExecutor {
public:
    struct Limits {
        std::size_t workers = 8;
        std::chrono::milliseconds patience{250};
    };

    explicit LiveEffectExecutor(std::shared_ptr<core::MainQueue> queue);
    LiveEffectExecutor(std::shared_ptr<core::MainQueue> queue, Limits limits);
    ~LiveEffectExecutor() override;
    LiveEffectExecutor(const LiveEffectExecutor&) = delete;
    LiveEffectExecutor& operator=(const LiveEffectExecutor&) = delete;

    void start(Job job) override;
    void post(std::function<void()> closure) override;

    // Jobs started and not ended: running, or waiting for a worker or for
    // their lane (timers not yet due are not counted).
    std::size_t runningCount() const;
    // Waits until no job runs or waits, or the time passes; true when idle.
    bool waitForIdle(std::chrono::milliseconds limit) const;
    // Worker threads alive.
    std::size_t workerCount() const;

private:
    class Pool;

    std::shared_ptr<core::MainQueue> queue_;
    std::shared_ptr<Pool> pool_;
};

}  // namespace tarv::features
