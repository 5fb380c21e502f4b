#pragma once

#include "TarvUI/Components/UIFrame.hpp"

namespace tarv::features {
struct ClonePromptState;
}

// The clone dialog: the remote to clone (which also narrows the list of the
// signed-in user's repositories below it), the destination folder, the
// clone's progress or last error, and the Clone and Cancel buttons. On a
// short terminal the list gives up rows first, and the status lines that
// would reach the button row are left out: nothing lands on the buttons.
namespace tarv::ui::CloneView {

void draw(UIFrame& frame, const features::ClonePromptState& prompt);

}  // namespace tarv::ui::CloneView
