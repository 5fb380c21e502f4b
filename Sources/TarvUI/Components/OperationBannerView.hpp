#pragma once

#include "TarvTerminal/Geometry/Rect.hpp"
#include "TarvUI/Components/UIFrame.hpp"

namespace tarv::features {
struct WorkspaceState;
}

// The two-row warning band of the Changes tab while a merge, rebase,
// cherry-pick or revert is in progress: what is going on, how many files are
// still in conflict, and buttons to continue (when git can go on) and abort.
namespace tarv::ui::OperationBannerView {

// Draws nothing when no operation is in progress.
void draw(UIFrame& frame, const features::WorkspaceState& ws, const terminal::Rect& rect);

}  // namespace tarv::ui::OperationBannerView
