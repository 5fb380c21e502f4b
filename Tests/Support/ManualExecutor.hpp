#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>

#include "TarvFeatures/Architecture/EffectExecutor.hpp"

namespace tarv::testing {

// An executor for deterministic store tests: it records the jobs a store
// starts and runs one only when the test asks, on the test's thread. Posted
// closures (actions, job ends) wait until the test drains them.
//
// It keeps the live executor's rules. A job without a lane or delay has
// started as soon as the store handed it over. A job of a lane starts when
// every earlier job of its lane has ended; until then `runJob` refuses it.
// A timer starts when the test runs it (its time has come). A job stopped
// before it started never runs: running it only posts its end.
class ManualExecutor final : public features::EffectExecutor {
public:
    // The job as the store handed it over, and where it stands.
    struct Job : features::EffectExecutor::Job {
        bool started = false;
        bool ran = false;      // ended: ran its body, or was dropped unstarted
        bool skipped = false;  // stopped before it started, so its body never ran
    };

    void start(features::EffectExecutor::Job job) override;
    void post(std::function<void()> closure) override;

    std::size_t jobCount() const { return jobs_.size(); }
    Job& job(std::size_t index) { return jobs_.at(index); }
    bool isStopRequested(std::size_t index) const { return jobs_.at(index).stop.stop_requested(); }
    // Whether job `index` waits for an earlier job of its lane to end.
    bool waitsForLane(std::size_t index) const;

    // Runs job `index`'s body to its end (unless it was stopped before it
    // started), then queues its end notice; throws std::logic_error when it
    // already ran or waits for its lane.
    void runJob(std::size_t index);
    // Runs every job not yet run, in start order (including ones started meanwhile).
    void runAllJobs();
    // Runs queued closures first in, first out until none is left; returns how many ran.
    std::size_t drain();
    std::size_t pendingCount() const { return posted_.size(); }

private:
    void startNextInLane(const std::string& lane);

    std::deque<Job> jobs_;
    std::deque<std::function<void()>> posted_;
};

}  // namespace tarv::testing
