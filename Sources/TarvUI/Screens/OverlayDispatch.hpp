#pragma once

#include "TarvUI/Components/UIFrame.hpp"
#include "TarvUI/Layout/WorkspaceLayout.hpp"

namespace tarv::features {
struct AppState;
struct Overlay;
}  // namespace tarv::features

// The overlay step of the application view: one view per overlay kind,
// drawn over the base screen with its payload.
namespace tarv::ui::OverlayDispatch {

void draw(UIFrame& frame, const features::Overlay& overlay, const features::AppState& state,
          const WorkspaceLayout& layout);

}  // namespace tarv::ui::OverlayDispatch
