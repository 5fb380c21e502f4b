#pragma once

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace tarv::core {

// Runs a program attached to the terminal (the terminal editor).
class ForegroundProcessRunning {
public:
    virtual ~ForegroundProcessRunning() = default;

    // Runs `program` with `arguments` in the foreground and waits for it.
    // The exit status, or none when there is none (the program did not start
    // or ended by a signal). Blocks; throws nothing.
    virtual std::optional<std::int32_t> run(const std::string& program, const std::vector<std::string>& arguments,
                                            std::stop_token stop) = 0;
};

}  // namespace tarv::core
