#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stop_token>
#include <string>
#include <utility>

#include "TarvFeatures/Architecture/Effect.hpp"
#include "TarvFeatures/Architecture/EffectExecutor.hpp"
#include "TarvFeatures/Architecture/Reducer.hpp"

namespace tarv::features {

// Holds the one state value and runs the reducer. Lives on the main thread:
// `send`, `cancelEffects` and `activeEffectCount` are only called there, and
// the executor brings every job's actions and its end back there.
//
// Replacing a job (a new one under its id) or cancelling it forgets it and,
// unless it is a write, stops it: from then on nothing it sends is reduced,
// also what it sent before the stop and is still on its way. A write is
// never stopped, so its outcome is always reduced.
template <Reducer R>
class Store {
public:
    using State = typename R::State;
    using Action = typename R::Action;

    Store(State initialState, R reducer, std::shared_ptr<EffectExecutor> executor)
        : state_(std::move(initialState)), reducer_(std::move(reducer)), executor_(std::move(executor)) {}
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;
    // Cancels nothing: running jobs only lose their way back to the store.
    ~Store() = default;

    const State& state() const { return state_; }
    const std::function<void()>& onChange() const { return onChange_; }
    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

    void send(Action action) {
        Effect<Action> effect = reducer_.reduce(state_, std::move(action));
        if (onChange_) onChange_();
        for (const auto& id : effect.cancelledIDs) {
            if (auto found = tasks_.find(id); found != tasks_.end()) {
                stopUnlessWrite(found->second);
                tasks_.erase(found);
            }
        }
        for (auto& job : effect.jobs) startJob(std::move(job));
    }

    void cancelEffects() {
        for (auto& [key, entry] : tasks_) stopUnlessWrite(entry);
        tasks_.clear();
    }

    std::size_t activeEffectCount() const { return tasks_.size(); }

private:
    struct Entry {
        std::int64_t token;
        std::stop_source stop;
        bool isWrite;
    };

    static void stopUnlessWrite(Entry& entry) {
        if (!entry.isWrite) entry.stop.request_stop();
    }

    void startJob(typename Effect<Action>::Job job) {
        const std::int64_t token = ++counter_;
        std::string key = job.id ? *job.id : "anonymous-" + std::to_string(token);
        if (auto found = tasks_.find(key); found != tasks_.end()) stopUnlessWrite(found->second);

        std::stop_source stop;
        std::weak_ptr<Store*> weak = alive_;
        // Weak, so that an executor holding a job that holds this closure
        // forms no cycle.
        std::weak_ptr<EffectExecutor> weakExecutor = executor_;
        typename Effect<Action>::Send send = [weak, weakExecutor, stopped = stop.get_token()](Action sent) {
            if (stopped.stop_requested()) return;
            auto executor = weakExecutor.lock();
            if (!executor) return;
            // Checked again on the main thread: the job may be stopped
            // while its action waits in the queue.
            executor->post([weak, stopped, sent = std::move(sent)]() mutable {
                if (stopped.stop_requested()) return;
                if (auto store = weak.lock()) (*store)->send(std::move(sent));
            });
        };
        tasks_[key] = Entry{token, stop, job.isWrite};
        executor_->start(EffectExecutor::Job{
            std::move(stop),
            [work = std::move(job.work), send = std::move(send)](std::stop_token stopToken) {
                try {
                    work(send, stopToken);
                } catch (...) {
                    // Jobs report their failures as actions; anything that
                    // still escapes ends the job quietly.
                }
            },
            [weak, key, token] {
                if (auto store = weak.lock()) (*store)->finish(key, token);
            },
            std::move(job.lane), job.delay});
    }

    void finish(const std::string& key, std::int64_t token) {
        if (auto found = tasks_.find(key); found != tasks_.end() && found->second.token == token) {
            tasks_.erase(found);
        }
    }

    State state_;
    std::function<void()> onChange_;
    const R reducer_;
    std::map<std::string, Entry> tasks_;
    std::int64_t counter_ = 0;
    std::shared_ptr<EffectExecutor> executor_;
    std::shared_ptr<Store*> alive_ = std::make_shared<Store*>(this);
};

}  // namespace tarv::features
