#pragma once

#include <cstdint>
#include <stop_token>

#include "TarvCore/Models/DeviceCode.hpp"
#include "TarvCore/Models/DeviceTokenStatus.hpp"
#include "TarvCore/Ports/AppClock.hpp"
#include "TarvCore/Ports/GitHubClient.hpp"

namespace tarv::core {

// Waits for the user to authorise a device code: sleeps the interval on the
// clock, polls, and repeats while the answer is pending or slow-down. The one
// polling rule of the device-flow sign-in: the sign-in job and the hosting
// client's own callers both wait through it.
//
// The interval is the code's, raised to at least 1 second (and kept below a
// day); each slow-down answer lengthens it, and every later wait, by 5
// seconds. The elapsed time is the sum of the waits. The code's lifetime is
// honoured on every answer that would go on polling: once the elapsed time
// reaches `expiresIn`, a pending or a slow-down answer ends the wait as
// expired, so a server that keeps asking to slow down cannot keep it going.
//
// The result is `authorized(token)`, `expired` or `denied`, never `pending`
// or `slowDown`. Errors of the poll propagate (HostingError). When the
// stop token fires, the wait ends at once with CancellationError: the
// clock's sleep throws it, the poll in flight is abandoned (its answer, if
// any, is not used) and no further poll is made.
struct DeviceFlowPoller {
    static constexpr std::int64_t slowDownStepSeconds = 5;
    static constexpr std::int64_t maxIntervalSeconds = 86'400;

    static DeviceTokenStatus waitForToken(GitHubClient& github, const AppClock& clock, const DeviceCode& code,
                                          std::stop_token stop);
};

}  // namespace tarv::core
