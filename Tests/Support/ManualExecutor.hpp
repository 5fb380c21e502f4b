#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <stop_token>
#include <vector>

#include "TarvFeatures/Architecture/EffectExecutor.hpp"

namespace tarv::testing {

// An executor for deterministic store tests: it records the jobs a store
// starts and runs one only when the test asks, on the test's thread. Posted
// closures (actions, job ends) wait until the test drains them.
class ManualExecutor final : public features::EffectExecutor {
public:
    struct Job {
        std::stop_source stop;
        std::function<void(std::stop_token)> body;
        std::function<void()> done;
        bool ran = false;
    };

    void start(std::stop_source stop, std::function<void(std::stop_token)> body,
               std::function<void()> done) override;
    void post(std::function<void()> closure) override;

    std::size_t jobCount() const { return jobs_.size(); }
    Job& job(std::size_t index) { return jobs_.at(index); }
    bool isStopRequested(std::size_t index) const { return jobs_.at(index).stop.stop_requested(); }

    // Runs job `index`'s body to its end, then queues its end notice.
    void runJob(std::size_t index);
    // Runs every job not yet run, in start order (including ones started meanwhile).
    void runAllJobs();
    // Runs queued closures first in, first out until none is left; returns how many ran.
    std::size_t drain();
    std::size_t pendingCount() const { return posted_.size(); }

private:
    std::deque<Job> jobs_;
    std::deque<std::function<void()>> posted_;
};

}  // namespace tarv::testing
