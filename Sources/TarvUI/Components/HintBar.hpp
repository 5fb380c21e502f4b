#pragma once

#include "TarvUI/Components/UIFrame.hpp"
#include "TarvUI/Layout/WorkspaceLayout.hpp"

namespace tarv::features {
struct AppState;
}

// The last row of the workspace: on the left the keys that matter for the
// current focus, as far as they fit whole; when not all of them fit, the
// ones after the first that does not are left out, except the way to the
// commands and to the help, which stay to the last; on the right the branch with the
// number of changed files and the ahead and behind counts. A toast is drawn
// over the same row and hides it while it lasts; a click on it dismisses it.
namespace tarv::ui::HintBar {

void draw(UIFrame& frame, const features::AppState& state, const WorkspaceLayout& layout);
void drawToast(UIFrame& frame, const features::AppState& state, const WorkspaceLayout& layout);

}  // namespace tarv::ui::HintBar
