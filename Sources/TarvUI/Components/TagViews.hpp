#pragma once

#include "TarvUI/Components/UIFrame.hpp"

namespace tarv::features {
struct AppState;
struct NewTagState;
struct TagPickerState;
}  // namespace tarv::features

// The dialog that names a tag on a commit, and the list of tags with the
// commits they point at.
namespace tarv::ui::TagViews {

void newTag(UIFrame& frame, const features::NewTagState& prompt);
void picker(UIFrame& frame, const features::AppState& state, const features::TagPickerState& picker);

}  // namespace tarv::ui::TagViews
