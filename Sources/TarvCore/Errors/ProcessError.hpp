#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <variant>

namespace tarv::core {

// Failures of running a child process (and of creating the askpass socket).
struct ProcessError : std::exception {
    // The process or socket could not be created; `errorNumber` is the errno
    // of the failing call.
    struct SpawnFailed {
        std::int32_t errorNumber = 0;
        bool operator==(const SpawnFailed&) const = default;
    };
    // The run's time limit passed before the process ended.
    struct TimedOut {
        bool operator==(const TimedOut&) const = default;
    };
    // The run was cancelled.
    struct Cancelled {
        bool operator==(const Cancelled&) const = default;
    };

    using Value = std::variant<SpawnFailed, TimedOut, Cancelled>;
    Value value;

    explicit ProcessError(Value value) : value(std::move(value)) {}

    static ProcessError spawnFailed(std::int32_t errorNumber) { return ProcessError(SpawnFailed{errorNumber}); }
    static ProcessError timedOut() { return ProcessError(TimedOut{}); }
    static ProcessError cancelled() { return ProcessError(Cancelled{}); }

    const char* what() const noexcept override;
    std::string description() const;

    bool operator==(const ProcessError& other) const { return value == other.value; }
};

}  // namespace tarv::core
