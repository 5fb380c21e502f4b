#pragma once

#include "TarvTerminal/Geometry/Rect.hpp"
#include "TarvUI/Components/UIFrame.hpp"

namespace tarv::features {
struct WorkspaceState;
}

// The upper part of the Changes tab's sidebar: a header with the file filter,
// the include-all box and the count of changed files, and below it one row
// per changed file with its include box, its path (cut in the middle) and a
// glyph for the kind of change. Only the rows on screen are measured and
// drawn.
namespace tarv::ui::FileListView {

// The part of `rect` below the three header rows, where the list goes.
terminal::Rect listRect(const terminal::Rect& rect);

// Draws the three header rows at the top of `rect` and returns listRect(rect).
terminal::Rect drawHeader(UIFrame& frame, const features::WorkspaceState& ws, const terminal::Rect& rect);

// Draws the list into `rect`, painting every cell of it (rows below the last
// file in the surface style); `focused` while the list has the keys.
void draw(UIFrame& frame, const features::WorkspaceState& ws, const terminal::Rect& rect, bool focused);

}  // namespace tarv::ui::FileListView
