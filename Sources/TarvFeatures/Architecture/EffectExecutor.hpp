#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>

namespace tarv::features {

// Where a Store runs its jobs, off the store's thread (or, for tests, when
// the test says). `post` queues a closure to run on the main thread after
// the current work, first in, first out.
//
// `start` takes a job and, once it is due (at once, or after `delay` for a
// timer) and its lane is free, runs `body` with a token of `stop`; then it
// posts `done` to the main thread. The jobs of one lane run one at a time in
// the order they were started. A job whose stop was requested before it
// started never runs; its `done` is posted all the same.
class EffectExecutor {
public:
    struct Job {
        std::stop_source stop;
        std::function<void(std::stop_token)> body;
        std::function<void()> done;
        std::optional<std::string> lane;
        std::chrono::milliseconds delay{0};
    };

    virtual ~EffectExecutor() = default;
    virtual void start(Job job) = 0;
    virtual void post(std::function<void()> closure) = 0;
};

}  // namespace tarv::features
