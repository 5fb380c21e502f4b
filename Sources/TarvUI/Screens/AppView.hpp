#pragma once

#include <cstdint>

#include "TarvTerminal/Geometry/Size.hpp"
#include "TarvUI/Keymap/Keymap.hpp"
#include "TarvUI/Screens/RenderedFrame.hpp"
#include "TarvUI/Theme/Theme.hpp"

namespace tarv::features {
struct AppState;
}

namespace tarv::ui {
class DiffLineCache;
}

// The whole application state as one frame, bottom to top: the background,
// the screen of the phase (onboarding, launching, welcome or workspace), the
// toast, then the one overlay. Below the minimum size of 50 x 14 only a
// notice naming that minimum is drawn, with no regions and no cursor.
namespace tarv::ui::AppView {

// Whether a frame of `size` shows only the notice that the terminal is too
// small.
bool showsTooSmallNotice(terminal::Size size);

// `tick` is the animation counter (never negative); `keymap` is the
// resolved keymap, read by the views that show shortcuts; `diffLines` the
// diff line cache the caller keeps between frames (none: the diff panes
// derive their visible lines afresh).
RenderedFrame draw(const features::AppState& state, terminal::Size size, const Theme& theme, std::int64_t tick,
                   bool monochrome = false, const Keymap& keymap = Keymap::standard(),
                   DiffLineCache* diffLines = nullptr);

}  // namespace tarv::ui::AppView
