#pragma once

#include "TarvCore/Ports/AppClock.hpp"

#include <chrono>
#include <stop_token>

namespace tarv::system {

// The live clock: wall-clock time, and sleeps measured on a clock that keeps
// counting while the machine is suspended. Stateless; safe from any thread.
class SystemClock final : public core::AppClock {
public:
    std::chrono::system_clock::time_point now() const override;

    // Returns after `duration`; throws core::CancellationError as soon as
    // `stop` fires (also when it fired before the call).
    void sleep(std::chrono::milliseconds duration, std::stop_token stop) const override;
};

}  // namespace tarv::system
