#pragma once

#include "TarvFeatures/Changes/SelectedLines.hpp"
#include "TarvFeatures/Diff/DiffViewState.hpp"
#include "TarvFeatures/Workspace/Pane.hpp"
#include "TarvTerminal/Geometry/Rect.hpp"
#include "TarvUI/Components/DiffLineCache.hpp"
#include "TarvUI/Components/UIFrame.hpp"

// The diff pane: one DiffViewState drawn unified (old and new line numbers in
// one gutter, one row per diff line) or side by side (old text left, new
// text right, a divider between), with syntax colours, word emphasis, the
// mouse text selection and, in the Changes tab, the line and hunk check
// boxes. It paints every cell of its rectangle (rows without a diff row in
// the frame's background style). It registers the regions through which clicks, drags and the wheel
// reach the pane, and writes the pane's size into the frame's viewports.
//
// Cost follows what is visible: only the rows on screen are looked at, and
// the per-line work (display text, column map, syntax tokens, word ranges)
// comes from a DiffLineCache kept between frames.
namespace tarv::ui::DiffView {

// The line selection of the Changes tab's file; absent in the History tab.
using Selection = features::SelectedLines;

// `pane` is Pane::diff in the Changes tab and Pane::historyDiff in the
// History tab; `focused` whether the workspace focus is that pane. Draws with
// the frame's cache (`UIFrame::diffLines`), or with one for this frame only
// when the frame has none.
void draw(UIFrame& frame, const features::DiffViewState& view, terminal::Rect rect, features::Pane pane,
          bool focused, const Selection* selection);

// The same, with the cache given.
void draw(UIFrame& frame, const features::DiffViewState& view, terminal::Rect rect, features::Pane pane,
          bool focused, const Selection* selection, DiffLineCache& cache);

}  // namespace tarv::ui::DiffView
