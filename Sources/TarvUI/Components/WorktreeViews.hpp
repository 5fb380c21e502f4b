#pragma once

#include "TarvUI/Components/UIFrame.hpp"

namespace tarv::features {
struct AppState;
struct NewWorktreeState;
struct WorktreePickerState;
}  // namespace tarv::features

// The repository's worktrees (folder, branch, main and current marks) and
// the dialog that makes a new one for a branch.
namespace tarv::ui::WorktreeViews {

void picker(UIFrame& frame, const features::AppState& state, const features::WorktreePickerState& picker);
void newWorktree(UIFrame& frame, const features::NewWorktreeState& prompt);

}  // namespace tarv::ui::WorktreeViews
