#pragma once

#include "TarvUI/Components/UIFrame.hpp"
#include "TarvUI/Layout/WorkspaceLayout.hpp"

namespace tarv::features {
struct AppState;
struct BranchPickerState;
}  // namespace tarv::features

// The popover that hangs from the toolbar's branch segment: the Branches tab
// (filter, new-branch button, branches in titled sections, and in switch
// mode the merge and rebase buttons) and the Pull requests tab. Nothing is
// drawn without an open repository.
namespace tarv::ui::BranchPickerView {

void draw(UIFrame& frame, const features::AppState& state, const features::BranchPickerState& picker,
          const WorkspaceLayout& layout);

}  // namespace tarv::ui::BranchPickerView
