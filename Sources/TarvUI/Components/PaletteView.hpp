#pragma once

#include <vector>

#include "TarvCore/Models/AppCommand.hpp"
#include "TarvUI/Components/UIFrame.hpp"

namespace tarv::features {
struct PaletteState;
}

// The command palette near the top of the screen: the query field and the
// commands that match it, each with its shortcut on the right. A click on a
// row runs that command; a click outside closes the palette.
namespace tarv::ui::PaletteView {

// `results` are the commands the palette offers for the query, in order.
void draw(UIFrame& frame, const features::PaletteState& palette, const std::vector<core::AppCommand>& results);

}  // namespace tarv::ui::PaletteView
