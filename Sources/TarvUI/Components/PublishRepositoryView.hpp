#pragma once

#include "TarvUI/Components/UIFrame.hpp"

namespace tarv::features {
struct PublishRepositoryState;
}

// The form that publishes the open repository as a new hosted one: name,
// description, the private box, the name as it will be created, progress
// or the last failure (the box grows for a longer one, as far as the
// screen allows), a hint and the Publish and Cancel buttons.
namespace tarv::ui::PublishRepositoryView {

void draw(UIFrame& frame, const features::PublishRepositoryState& prompt);

}  // namespace tarv::ui::PublishRepositoryView
