#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarv::core {

// What the workspace knows about the current branch's remote state.
struct SyncContext {
    // A remote URL is known for the repository.
    bool hasRemote = false;
    // The current branch has an upstream branch.
    bool hasUpstream = false;
    // Commits on the branch that are not on its upstream.
    std::int64_t ahead = 0;
    // Commits on the upstream that are not on the branch.
    std::int64_t behind = 0;
    // Unix time of the last successful fetch.
    std::optional<std::int64_t> lastFetched;
    // The current Unix time.
    std::int64_t now = 0;
    std::string remoteName = "origin";

    bool operator==(const SyncContext&) const = default;
};

}  // namespace tarv::core
