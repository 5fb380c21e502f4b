#pragma once

#include <string_view>
#include <vector>

#include "TarvCore/Models/Commit.hpp"

namespace tarv::engine {

// Reads `git log -z --format=<format>` into commits, in git's order.
// Malformed records are dropped. Never fails.
struct LogParser {
    // Full id, parent ids, author name, author e-mail, author time (Unix
    // seconds), subject; fields separated by the byte 0x1F.
    static constexpr std::string_view format = "%H%x1f%P%x1f%an%x1f%ae%x1f%at%x1f%s";

    static std::vector<core::Commit> parse(std::string_view output);
};

}  // namespace tarv::engine
