#pragma once

#include <chrono>
#include <cstdint>
#include <stop_token>

namespace tarv::core {

// Wall-clock time and sleeping.
class AppClock {
public:
    virtual ~AppClock() = default;

    // The current wall-clock instant.
    virtual std::chrono::system_clock::time_point now() const = 0;

    // Returns after `duration`. Throws CancellationError when `stop` fires
    // first (also when it had fired before the call).
    virtual void sleep(std::chrono::milliseconds duration, std::stop_token stop) const = 0;

    // `now()` as whole seconds since 1970-01-01 00:00 UTC, the fraction cut
    // off toward zero (2.9 s after the epoch gives 2, 2.9 s before gives -2).
    std::int64_t unixTime() const {
        return std::chrono::duration_cast<std::chrono::seconds>(now().time_since_epoch()).count();
    }
};

}  // namespace tarv::core
