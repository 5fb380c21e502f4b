#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarv::core {

// What the undo of a discard did beyond bringing the discarded paths back.
struct SnapshotRestore {
    // The recovery point (a reference under refs/tarv/) holding the paths
    // that had been edited again since the discard, as they were just before
    // the undo wrote over them; none when nothing had changed since.
    std::optional<std::string> keptEdits;
    // Those paths, in the order given.
    std::vector<std::string> editedPaths;

    bool operator==(const SnapshotRestore&) const = default;
};

}  // namespace tarv::core
