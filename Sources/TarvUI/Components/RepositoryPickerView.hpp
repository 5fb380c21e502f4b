#pragma once

#include "TarvUI/Components/UIFrame.hpp"
#include "TarvUI/Layout/WorkspaceLayout.hpp"

namespace tarv::features {
struct AppState;
struct RepositoryPickerState;
}  // namespace tarv::features

// The drop-down at the screen's left edge listing the registered
// repositories in groups (recent, per owner, the rest), narrowed by the
// filter, with the open one marked clean or changed, and buttons to add or
// clone one. `layout` is the workspace's when a workspace lies underneath.
namespace tarv::ui::RepositoryPickerView {

void draw(UIFrame& frame, const features::AppState& state, const features::RepositoryPickerState& picker,
          const WorkspaceLayout* layout);

}  // namespace tarv::ui::RepositoryPickerView
