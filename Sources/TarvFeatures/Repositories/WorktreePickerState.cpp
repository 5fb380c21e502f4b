#include "TarvFeatures/Repositories/WorktreePickerState.hpp"

namespace tarv::features {

WorktreePickerState::WorktreePickerState(std::vector<core::Worktree> worktrees) : worktrees(std::move(worktrees)) {
    if (!this->worktrees.empty()) list.selected = 0;
}

}  // namespace tarv::features
