#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "TarvCore/Models/Bytes.hpp"

namespace tarv::core {

// The outcome of one child process: its exit code and everything it wrote.
struct ProcessResult {
    std::int32_t exitCode = 0;
    Bytes stdout = {};
    Bytes stderr = {};

    // The output as text for display and messages: decoded as UTF-8, each
    // ill-formed sequence replaced by U+FFFD. Never fails; nothing trimmed.
    std::string stdoutString() const;
    std::string stderrString() const;

    // The output exactly as the child wrote it, for parsers whose values go
    // back to the child's program (paths, diff lines, ref names). A view
    // into this result, so not available on a temporary.
    std::string_view stdoutBytes() const& { return byteView(stdout); }
    std::string_view stderrBytes() const& { return byteView(stderr); }
    std::string_view stdoutBytes() const&& = delete;
    std::string_view stderrBytes() const&& = delete;

    bool operator==(const ProcessResult&) const = default;
};

}  // namespace tarv::core
