#pragma once

#include <string>
#include <vector>

namespace tarv::features {

// What the last discard saved, so that undo restores exactly those paths
// from that reference.
struct DiscardRecord {
    // The recovery reference the discard returned.
    std::string reference;
    // The discarded paths, in the order given.
    std::vector<std::string> paths;

    bool operator==(const DiscardRecord&) const = default;
};

}  // namespace tarv::features
