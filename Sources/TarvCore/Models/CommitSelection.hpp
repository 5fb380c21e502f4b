#pragma once

#include <string>
#include <vector>

#include "TarvCore/Models/PartialSelection.hpp"

namespace tarv::core {

// What goes into a commit: whole paths and line-level partial files.
struct CommitSelection {
    // Paths committed with all their changes.
    std::vector<std::string> wholePaths;
    std::vector<PartialSelection> partials = {};

    bool isEmpty() const { return wholePaths.empty() && partials.empty(); }

    bool operator==(const CommitSelection&) const = default;
};

}  // namespace tarv::core
