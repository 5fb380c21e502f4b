#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <variant>

namespace tarv::core {

// Failures of the hosting service's REST and device-flow calls (thrown by the
// HTTP client and the hosting client).
struct HostingError : std::exception {
    // The request never got an HTTP answer; the transport's description.
    struct Network {
        std::string message;
        bool operator==(const Network&) const = default;
    };
    // Refused for lack of permission; the service's message (may be empty).
    struct Forbidden {
        std::string message;
        bool operator==(const Forbidden&) const = default;
    };
    // Any other unsuccessful HTTP status, with the service's message.
    struct Http {
        std::int64_t status = 0;
        std::string message;
        bool operator==(const Http&) const = default;
    };
    // The session token was rejected (expired or revoked).
    struct Unauthorized {
        bool operator==(const Unauthorized&) const = default;
    };
    // The hosting app does not have device-flow sign-in enabled.
    struct DeviceFlowDisabled {
        bool operator==(const DeviceFlowDisabled&) const = default;
    };
    // The resource does not exist or the app has no access to it.
    struct NotFound {
        bool operator==(const NotFound&) const = default;
    };
    // The service's rate limit was reached.
    struct RateLimited {
        bool operator==(const RateLimited&) const = default;
    };
    // The answer was not HTTP or could not be decoded.
    struct InvalidResponse {
        bool operator==(const InvalidResponse&) const = default;
    };

    using Value = std::variant<Network, Forbidden, Http, Unauthorized, DeviceFlowDisabled, NotFound, RateLimited,
                               InvalidResponse>;
    Value value;

    explicit HostingError(Value value) : value(std::move(value)) {}

    static HostingError network(std::string message) { return HostingError(Network{std::move(message)}); }
    static HostingError forbidden(std::string message) { return HostingError(Forbidden{std::move(message)}); }
    static HostingError http(std::int64_t status, std::string message) {
        return HostingError(Http{status, std::move(message)});
    }
    static HostingError unauthorized() { return HostingError(Unauthorized{}); }
    static HostingError deviceFlowDisabled() { return HostingError(DeviceFlowDisabled{}); }
    static HostingError notFound() { return HostingError(NotFound{}); }
    static HostingError rateLimited() { return HostingError(RateLimited{}); }
    static HostingError invalidResponse() { return HostingError(InvalidResponse{}); }

    const char* what() const noexcept override;
    std::string description() const;

    bool operator==(const HostingError& other) const { return value == other.value; }
};

}  // namespace tarv::core
