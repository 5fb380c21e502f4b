#pragma once

#include <optional>
#include <string>

#include "TarvCore/Errors/HostingError.hpp"

namespace tarv::hosting::test {

// The HostingError that `f` throws; none when it returns. Other exceptions
// pass through (and fail the test).
template <class F>
std::optional<core::HostingError> hostingErrorOf(F&& f) {
    try {
        f();
    } catch (const core::HostingError& error) {
        return error;
    }
    return std::nullopt;
}

}  // namespace tarv::hosting::test

namespace tarv::core {
// Readable failures in gtest output.
inline void PrintTo(const HostingError& error, std::ostream* out) { *out << error.description(); }
}  // namespace tarv::core
