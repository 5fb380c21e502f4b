#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "TarvCore/Text/Graphemes.hpp"
#include "TarvCore/Text/HashCombine.hpp"

namespace tarv::core {

// One entry of the history.
struct Commit {
    // Full commit id.
    std::string sha;
    // Parent commit ids, in git's order.
    std::vector<std::string> parents = {};
    std::string authorName;
    std::string authorEmail;
    // Author time, in seconds.
    std::int64_t timestamp = 0;
    // The subject line.
    std::string summary;

    // The first 7 characters of `sha` (all of it when shorter).
    std::string shortSHA() const { return std::string(text::graphemePrefix(sha, 7)); }

    bool operator==(const Commit&) const = default;
};

}  // namespace tarv::core

template <>
struct std::hash<tarv::core::Commit> {
    std::size_t operator()(const tarv::core::Commit& c) const {
        return tarv::core::hashValues(c.sha, c.parents, c.authorName, c.authorEmail, c.timestamp, c.summary);
    }
};
