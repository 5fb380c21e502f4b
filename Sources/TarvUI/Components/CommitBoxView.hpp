#pragma once

#include "TarvTerminal/Geometry/Rect.hpp"
#include "TarvUI/Components/UIFrame.hpp"

namespace tarv::features {
struct WorkspaceState;
}

// The commit message area at the bottom of the Changes tab's sidebar: the
// one-line summary, the description box (with the co-authors' line when
// there are co-authors and room), and the commit button, whose label says
// what pressing it will do in the repository's current situation. The
// focused field gets the terminal cursor; editing happens elsewhere.
//
// Geometry, for `rect`: a rule on the first row; the inner area one column
// in on both sides; the summary on its first row; the description box
// below it down to the row above the button, drawn only when taller than 2
// rows; the button on the last row. Below 7 inner columns only the
// background and the rule are drawn.
namespace tarv::ui::CommitBoxView {

void draw(UIFrame& frame, const features::WorkspaceState& ws, const terminal::Rect& rect);

}  // namespace tarv::ui::CommitBoxView
