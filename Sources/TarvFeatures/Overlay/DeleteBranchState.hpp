#pragma once

#include <string>

namespace tarv::features {

// The confirmation of a branch deletion: DeleteBranchState{name} or
// DeleteBranchState{name, true}.
struct DeleteBranchState {
    std::string name;
    // The branch is not fully merged: deleting it needs the forced form.
    bool needsForce = false;

    bool operator==(const DeleteBranchState&) const = default;
};

}  // namespace tarv::features
