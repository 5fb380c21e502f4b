#include "TarvCore/Rules/DeviceFlowPoller.hpp"

#include <algorithm>
#include <chrono>
#include <limits>
#include <variant>

#include "TarvCore/Concurrency/CancellationError.hpp"

namespace tarv::core {

DeviceTokenStatus DeviceFlowPoller::waitForToken(GitHubClient& github, const AppClock& clock, const DeviceCode& code,
                                                 std::stop_token stop) {
    using Status = DeviceTokenStatus;
    std::int64_t interval = std::clamp<std::int64_t>(code.interval, 1, maxIntervalSeconds);
    std::int64_t elapsed = 0;
    while (true) {
        clock.sleep(std::chrono::seconds(interval), stop);
        elapsed = elapsed > std::numeric_limits<std::int64_t>::max() - interval ? std::numeric_limits<std::int64_t>::max()
                                                                                : elapsed + interval;
        if (stop.stop_requested()) throw CancellationError();
        Status status = github.pollAccessToken(code.deviceCode, stop);
        if (stop.stop_requested()) throw CancellationError();
        const bool expired = elapsed >= code.expiresIn;
        if (std::holds_alternative<Status::Pending>(status.value)) {
            if (expired) return Status::expired();
        } else if (std::holds_alternative<Status::SlowDown>(status.value)) {
            if (expired) return Status::expired();
            interval = std::min(interval + slowDownStepSeconds, maxIntervalSeconds);
        } else {
            return status;
        }
    }
}

}  // namespace tarv::core
