#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

namespace tarv::features {

// A description of asynchronous work returned by a reducer: jobs to start,
// in order, and ids of running jobs to cancel, in order.
//
// A job runs as soon as the executor has a worker for it, unless it names a
// lane: the jobs of one lane run one at a time, in the order they were
// started. A timer is a job that starts once its delay has passed. A write
// is never stopped: replacing or cancelling it only forgets it, so it runs
// to its end and reports. Any other job that is replaced or cancelled is
// stopped: if it has not started it never starts, and nothing it sends
// afterwards is reduced.
template <class Action>
struct Effect {
    // Posts an action back to the store; safe to call from any thread, only
    // while the job's work runs.
    using Send = std::function<void(Action)>;
    // A job's body. Runs off the main thread; `stop` fires when the job is
    // cancelled or replaced. It must not throw: failures become actions.
    using Work = std::function<void(Send, std::stop_token)>;

    struct Job {
        std::optional<std::string> id;  // nil: anonymous job
        Work work;
        std::optional<std::string> lane;  // nil: runs beside every other job
        bool isWrite = false;
        std::chrono::milliseconds delay{0};  // a timer's wait before it starts
    };

    std::vector<Job> jobs;
    std::vector<std::string> cancelledIDs;

    static Effect none() { return {}; }

    static Effect run(std::optional<std::string> id, Work work) {
        Effect effect;
        effect.jobs.push_back(Job{std::move(id), std::move(work), std::nullopt, false, std::chrono::milliseconds(0)});
        return effect;
    }

    // A write of lane `lane`: never stopped, run after the lane's earlier jobs.
    static Effect write(std::string id, std::string lane, Work work) {
        Effect effect;
        effect.jobs.push_back(Job{std::move(id), std::move(work), std::move(lane), true, std::chrono::milliseconds(0)});
        return effect;
    }

    // A timer: `work` starts once `delay` has passed, unless it was stopped.
    static Effect after(std::optional<std::string> id, std::chrono::milliseconds delay, Work work) {
        Effect effect;
        effect.jobs.push_back(Job{std::move(id), std::move(work), std::nullopt, false, delay});
        return effect;
    }

    static Effect cancel(std::string id) {
        Effect effect;
        effect.cancelledIDs.push_back(std::move(id));
        return effect;
    }

    static Effect merge(std::vector<Effect> effects) {
        Effect merged;
        for (auto& effect : effects) {
            for (auto& job : effect.jobs) merged.jobs.push_back(std::move(job));
            for (auto& id : effect.cancelledIDs) merged.cancelledIDs.push_back(std::move(id));
        }
        return merged;
    }

    template <class... E>
        requires(std::is_same_v<std::remove_cvref_t<E>, Effect> && ...)
    static Effect merge(E&&... effects) {
        std::vector<Effect> list;
        list.reserve(sizeof...(E));
        (list.push_back(std::forward<E>(effects)), ...);
        return merge(std::move(list));
    }

    // Lifts the effect into another action type: each job keeps its id, lane,
    // kind and delay and sends `transform(action)` for every action it sends.
    template <class NewAction>
    Effect<NewAction> map(std::function<NewAction(Action)> transform) const {
        Effect<NewAction> mapped;
        mapped.cancelledIDs = cancelledIDs;
        for (const auto& job : jobs) {
            auto work = job.work;
            mapped.jobs.push_back(typename Effect<NewAction>::Job{
                job.id, [work, transform](typename Effect<NewAction>::Send send, std::stop_token stop) {
                    work([send, transform](Action action) { send(transform(std::move(action))); }, stop);
                },
                job.lane, job.isWrite, job.delay});
        }
        return mapped;
    }

    bool isEmpty() const { return jobs.empty() && cancelledIDs.empty(); }
};

}  // namespace tarv::features
