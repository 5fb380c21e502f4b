#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "TarvCore/Text/HashCombine.hpp"

namespace tarv::core {

// One local or remote-tracking branch.
struct Branch {
    // Short name ("main", "origin/main"), as git printed it.
    std::string name;
    bool isRemote = false;
    // The branch HEAD points to.
    bool isCurrent = false;
    // Short name of its upstream.
    std::optional<std::string> upstream = std::nullopt;
    std::int64_t ahead = 0;
    std::int64_t behind = 0;
    // Committer time of its tip, in seconds.
    std::int64_t lastCommitTimestamp = 0;

    bool operator==(const Branch&) const = default;
};

}  // namespace tarv::core

template <>
struct std::hash<tarv::core::Branch> {
    std::size_t operator()(const tarv::core::Branch& b) const {
        return tarv::core::hashValues(b.name, b.isRemote, b.isCurrent, b.upstream, b.ahead, b.behind,
                                      b.lastCommitTimestamp);
    }
};
