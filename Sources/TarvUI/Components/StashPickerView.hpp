#pragma once

#include "TarvUI/Components/UIFrame.hpp"

namespace tarv::features {
struct AppState;
struct StashPickerState;
}  // namespace tarv::features

// The stash list under the toolbar: branch, message and age of every entry,
// the highlighted one, and the keys that apply or drop it.
namespace tarv::ui::StashPickerView {

void draw(UIFrame& frame, const features::AppState& state, const features::StashPickerState& picker);

}  // namespace tarv::ui::StashPickerView
