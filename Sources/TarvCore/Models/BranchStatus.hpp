#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarv::core {

// The branch header of a status report.
struct BranchStatus {
    // The current branch name.
    std::optional<std::string> head = std::nullopt;
    // The commit id of HEAD.
    std::optional<std::string> objectID = std::nullopt;
    // The upstream branch name.
    std::optional<std::string> upstream = std::nullopt;
    // Commits on HEAD not on the upstream.
    std::int64_t ahead = 0;
    // Commits on the upstream not on HEAD.
    std::int64_t behind = 0;

    bool operator==(const BranchStatus&) const = default;
};

}  // namespace tarv::core
