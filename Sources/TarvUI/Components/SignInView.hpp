#pragma once

#include "TarvUI/Components/UIFrame.hpp"

namespace tarv::features {
struct SignInState;
}

// The device sign-in: a waiting line while the code is requested; then the
// address to open, the user code spaced out and centred, and the buttons to
// copy it and open the browser or cancel; or the failure with Retry. The
// code and the failure come from the server and reach the screen only
// through the canvas.
namespace tarv::ui::SignInView {

// The code's characters joined with one blank: "ABCD-1234" gives
// "A B C D - 1 2 3 4".
std::string spaced(std::string_view code);

void draw(UIFrame& frame, const features::SignInState& state);

}  // namespace tarv::ui::SignInView
