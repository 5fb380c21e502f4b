#pragma once

#include "TarvUI/Components/UIFrame.hpp"
#include "TarvUI/Layout/WorkspaceLayout.hpp"

namespace tarv::features {
struct AppState;
struct WorkspaceState;
}  // namespace tarv::features

// The base screen of an open repository, back to front: the toolbar, the
// row of the two tabs, the separators between the panes, the Changes tab
// (operation banner, file list, commit box, and the diff or the conflict of
// the selected file) or the History tab (commit list, the commit's files,
// its header and diff), then the hint bar and the toast. Which pane goes
// into which rectangle follows the layout; the components draw themselves.
namespace tarv::ui::WorkspaceScreen {

void draw(UIFrame& frame, const features::AppState& state, const features::WorkspaceState& ws,
          const WorkspaceLayout& layout);

}  // namespace tarv::ui::WorkspaceScreen
