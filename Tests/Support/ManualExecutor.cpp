#include "Support/ManualExecutor.hpp"

#include <chrono>
#include <stdexcept>
#include <utility>

namespace tarv::testing {

void ManualExecutor::start(features::EffectExecutor::Job job) {
    const bool timer = job.delay > std::chrono::milliseconds::zero();
    jobs_.push_back(Job{std::move(job)});
    jobs_.back().started = !timer && !waitsForLane(jobs_.size() - 1);
}

void ManualExecutor::post(std::function<void()> closure) { posted_.push_back(std::move(closure)); }

bool ManualExecutor::waitsForLane(std::size_t index) const {
    const std::optional<std::string>& lane = jobs_.at(index).lane;
    if (!lane) return false;
    for (std::size_t i = 0; i < index; ++i) {
        if (jobs_[i].lane == lane && !jobs_[i].ran) return true;
    }
    return false;
}

void ManualExecutor::runJob(std::size_t index) {
    Job& job = jobs_.at(index);
    if (job.ran) throw std::logic_error("job already ran");
    if (waitsForLane(index)) throw std::logic_error("job waits for an earlier job of its lane");
    if (!job.started && job.stop.stop_requested()) job.skipped = true;
    job.started = true;
    job.ran = true;
    auto body = std::move(job.body);
    auto done = std::move(job.done);
    auto stop = job.stop;
    const auto lane = job.lane;
    if (!job.skipped) body(stop.get_token());
    posted_.push_back(std::move(done));
    if (lane) startNextInLane(*lane);
}

void ManualExecutor::startNextInLane(const std::string& lane) {
    for (std::size_t i = 0; i < jobs_.size(); ++i) {
        Job& next = jobs_[i];
        if (next.lane != lane || next.ran) continue;
        if (!next.stop.stop_requested()) {
            next.started = true;
            return;
        }
        // Stopped while it waited: it never starts, and the lane moves on.
        next.ran = true;
        next.skipped = true;
        next.body = nullptr;
        posted_.push_back(std::move(next.done));
    }
}

void ManualExecutor::runAllJobs() {
    for (std::size_t i = 0; i < jobs_.size(); ++i) {
        if (!jobs_[i].ran) runJob(i);
    }
}

std::size_t ManualExecutor::drain() {
    std::size_t ran = 0;
    while (!posted_.empty()) {
        auto closure = std::move(posted_.front());
        posted_.pop_front();
        closure();
        ++ran;
    }
    return ran;
}

}  // namespace tarv::testing
