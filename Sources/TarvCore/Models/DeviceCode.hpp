#pragma once

#include <cstdint>
#include <string>

namespace tarv::core {

// The answer to an OAuth device-authorisation request.
struct DeviceCode {
    std::string deviceCode;
    // What the user types on the web page.
    std::string userCode;
    std::string verificationURL;
    // Seconds between polls.
    std::int64_t interval = 0;
    // Seconds until the code expires.
    std::int64_t expiresIn = 0;

    bool operator==(const DeviceCode&) const = default;
};

}  // namespace tarv::core
