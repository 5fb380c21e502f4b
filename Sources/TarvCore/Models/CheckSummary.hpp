#pragma once

#include <cstdint>

namespace tarv::core {

// Counts of the CI checks on a commit.
struct CheckSummary {
    enum class State { none, pending, success, failure };

    std::int64_t succeeded = 0;
    std::int64_t failed = 0;
    std::int64_t pending = 0;

    bool operator==(const CheckSummary&) const = default;

    constexpr std::int64_t total() const { return succeeded + failed + pending; }

    // failure when any failed, else pending when any is pending, else none
    // when there are no checks, else success.
    constexpr State state() const {
        if (failed > 0) return State::failure;
        if (pending > 0) return State::pending;
        if (total() < 1) return State::none;
        return State::success;
    }

    friend constexpr CheckSummary operator+(const CheckSummary& a, const CheckSummary& b) {
        return CheckSummary{a.succeeded + b.succeeded, a.failed + b.failed, a.pending + b.pending};
    }
};

}  // namespace tarv::core
