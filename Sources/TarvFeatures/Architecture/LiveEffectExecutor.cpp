#include "TarvFeatures/Architecture/LiveEffectExecutor.hpp"

#include <thread>

namespace tarv::features {

LiveEffectExecutor::LiveEffectExecutor(std::shared_ptr<core::MainQueue> queue) : queue_(std::move(queue)) {}

void LiveEffectExecutor::start(std::stop_source stop, std::function<void(std::stop_token)> body,
                               std::function<void()> done) {
    {
        std::lock_guard lock(counter_->mutex);
        ++counter_->running;
    }
    // The thread owns what it touches: the queue and the counter are shared,
    // so a job that outlives the store or this executor stays safe.
    std::thread([queue = queue_, counter = counter_, stop = std::move(stop), body = std::move(body),
                 done = std::move(done)]() mutable {
        body(stop.get_token());
        body = nullptr;  // release captured ports before reporting the end
        queue->post(std::move(done));
        std::lock_guard lock(counter->mutex);
        if (--counter->running == 0) counter->idle.notify_all();
    }).detach();
}

void LiveEffectExecutor::post(std::function<void()> closure) { queue_->post(std::move(closure)); }

std::size_t LiveEffectExecutor::runningCount() const {
    std::lock_guard lock(counter_->mutex);
    return counter_->running;
}

bool LiveEffectExecutor::waitForIdle(std::chrono::milliseconds limit) const {
    std::unique_lock lock(counter_->mutex);
    return counter_->idle.wait_for(lock, limit, [&] { return counter_->running == 0; });
}

}  // namespace tarv::features
