#pragma once

#include <cstdint>
#include <string>

namespace tarv::core {

struct PullRequest {
    std::int64_t number = 0;
    std::string title;
    // The author's login.
    std::string author;
    std::string headBranch;
    bool isFromFork = false;
    bool isDraft = false;
    // Seconds since 1970.
    std::int64_t updatedAt = 0;
    std::string headSHA;

    bool operator==(const PullRequest&) const = default;
};

}  // namespace tarv::core
