#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace tarv::core {

// The result of one poll for the device-flow access token.
struct DeviceTokenStatus {
    struct Authorized {
        std::string token;
        bool operator==(const Authorized&) const = default;
    };
    struct Pending { bool operator==(const Pending&) const = default; };
    struct SlowDown { bool operator==(const SlowDown&) const = default; };
    struct Expired { bool operator==(const Expired&) const = default; };
    struct Denied { bool operator==(const Denied&) const = default; };

    using Value = std::variant<Authorized, Pending, SlowDown, Expired, Denied>;
    Value value;

    template <class Case>
        requires std::is_constructible_v<Value, Case&&>
    DeviceTokenStatus(Case&& status) : value(std::forward<Case>(status)) {}  // NOLINT: implicit on purpose

    static DeviceTokenStatus authorized(std::string token) { return Authorized{std::move(token)}; }
    static DeviceTokenStatus pending() { return Pending{}; }
    static DeviceTokenStatus slowDown() { return SlowDown{}; }
    static DeviceTokenStatus expired() { return Expired{}; }
    static DeviceTokenStatus denied() { return Denied{}; }

    bool operator==(const DeviceTokenStatus&) const = default;
};

}  // namespace tarv::core
