#pragma once

#include <cstdint>
#include <map>

#include "TarvCore/Models/CheckSummary.hpp"
#include "TarvCore/Models/EditableText.hpp"
#include "TarvCore/Models/ListScroll.hpp"
#include "TarvFeatures/Branches/PullRequestList.hpp"

namespace tarv::features {

// The branch list for switching, merging, rebasing or deleting, with a second
// tab of pull requests loaded on demand.
struct BranchPickerState {
    enum class Tab { branches, pullRequests };
    // What choosing a branch does. (`switch` and `delete` are C++ keywords,
    // hence the longer names of those two.)
    enum class Mode { switchBranch, merge, rebase, deleteBranch };

    Tab tab = Tab::branches;
    Mode mode = Mode::switchBranch;
    core::EditableText filter;
    // Selection among the rows of the current tab.
    core::ListScroll list{.offset = 0, .selected = 0};
    PullRequestList pullRequests;
    // Check results by pull-request number.
    std::map<std::int64_t, core::CheckSummary> pullRequestChecks;

    explicit BranchPickerState(Mode mode = Mode::switchBranch) : mode(mode) {}

    bool operator==(const BranchPickerState&) const = default;
};

}  // namespace tarv::features
