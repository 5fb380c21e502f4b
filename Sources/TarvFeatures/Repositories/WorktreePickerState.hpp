#pragma once

#include <utility>
#include <vector>

#include "TarvCore/Models/ListScroll.hpp"
#include "TarvCore/Models/Worktree.hpp"

namespace tarv::features {

// The worktree picker: the repository's worktrees and the list's scroll and
// selection.
struct WorktreePickerState {
    // In the order the port returned them.
    std::vector<core::Worktree> worktrees;
    core::ListScroll list;

    WorktreePickerState() = default;
    // Offset 0; row 0 selected, nothing when there are no worktrees.
    explicit WorktreePickerState(std::vector<core::Worktree> worktrees);
    WorktreePickerState(std::vector<core::Worktree> worktrees, core::ListScroll list)
        : worktrees(std::move(worktrees)), list(std::move(list)) {}

    bool operator==(const WorktreePickerState&) const = default;
};

}  // namespace tarv::features
