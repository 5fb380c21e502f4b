#pragma once

#include "TarvCore/Models/ConflictDocument.hpp"
#include "TarvFeatures/Workspace/WorkspaceState.hpp"
#include "TarvTerminal/Geometry/Rect.hpp"
#include "TarvUI/Components/UIFrame.hpp"

// The conflict pane, drawn in place of the diff when the selected file is in
// conflict and its document is loaded: the text around the conflicts and,
// per conflict, a header, the three choice buttons and the current and
// incoming sides under their labels. Once no conflict is left, a banner
// offers to mark the file resolved. Only the visible rows are looked at;
// each is cut to its visible columns without reading the rest of its line.
namespace tarv::ui::ConflictView {

// `focused`: the workspace focus is the diff pane. Reads the Changes tab's
// selected path, conflict offset and cursor and the diff pane's horizontal
// offset from `ws`.
void draw(UIFrame& frame, const features::WorkspaceState& ws, const core::ConflictDocument& document,
          terminal::Rect rect, bool focused);

}  // namespace tarv::ui::ConflictView
