#pragma once

#include "TarvUI/Components/UIFrame.hpp"

namespace tarv::features {
struct AppState;
}

// The screen with no repository open: what can be done first (add, create,
// clone, open another) and the recently opened repositories.
namespace tarv::ui::WelcomeScreen {

void draw(UIFrame& frame, const features::AppState& state);

}  // namespace tarv::ui::WelcomeScreen
