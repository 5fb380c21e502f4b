#pragma once

#include <string_view>

#include "TarvTerminal/Geometry/Rect.hpp"
#include "TarvUI/Components/UIFrame.hpp"

// The frame of every overlay and panel: a filled panel with a rounded border
// and a title, which takes every click that falls inside it (so nothing
// drawn below reacts) and gives back the inner area for the content.
namespace tarv::ui::PopoverView {

// Returns (x + 2, y + 1, max(width - 4, 0), max(height - 2, 0)).
terminal::Rect draw(UIFrame& frame, const terminal::Rect& rect, std::string_view title);

}  // namespace tarv::ui::PopoverView
