#pragma once

#include <optional>
#include <string>

namespace tarv::core {

// One worktree of the repository.
struct Worktree {
    // The worktree's directory.
    std::string path;
    // Its checked-out branch; none when detached.
    std::optional<std::string> branch = std::nullopt;
    // The commit id checked out.
    std::string head;
    // The repository's main worktree.
    bool isMain = false;

    bool operator==(const Worktree&) const = default;
};

}  // namespace tarv::core
