#pragma once

#include <functional>
#include <stop_token>

namespace tarv::features {

// Where a Store runs its jobs. `start` runs `body` with a token of `stop`
// somewhere off the store's thread (or, for tests, when the test says) and
// afterwards posts `done` to the main thread; `post` queues a closure to run
// on the main thread after the current work, first in, first out.
class EffectExecutor {
public:
    virtual ~EffectExecutor() = default;
    virtual void start(std::stop_source stop, std::function<void(std::stop_token)> body,
                       std::function<void()> done) = 0;
    virtual void post(std::function<void()> closure) = 0;
};

}  // namespace tarv::features
