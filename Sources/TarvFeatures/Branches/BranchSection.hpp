#pragma once

#include <vector>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/Branch.hpp"

namespace tarv::features {

// One titled section of the branch picker.
struct BranchSection {
    // defaultBranch, recentBranches or otherBranches.
    core::Text title;
    std::vector<core::Branch> branches;

    bool operator==(const BranchSection&) const = default;
};

}  // namespace tarv::features
