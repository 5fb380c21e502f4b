#pragma once

#include <string_view>

#include "TarvFeatures/Workspace/WorkspaceState.hpp"
#include "TarvTerminal/Geometry/Rect.hpp"
#include "TarvTerminal/Style/Color.hpp"
#include "TarvUI/Components/UIFrame.hpp"

// The History tab's own panes: the commit list (two rows per commit: the
// summary; an author dot, tags, author and relative time), the files of the
// selected commit, and the two-row header of the selected commit above its
// diff. The diff itself is DiffView's. Only the visible rows are drawn.
namespace tarv::ui::HistoryViews {

// `focused`: the workspace focus is the commit list.
void drawCommitList(UIFrame& frame, const features::WorkspaceState& ws, terminal::Rect rect, bool focused);

// `focused`: the workspace focus is the commit's file list.
void drawCommitFiles(UIFrame& frame, const features::WorkspaceState& ws, terminal::Rect rect, bool focused);

void drawCommitHeader(UIFrame& frame, const features::WorkspaceState& ws, terminal::Rect rect);

// The colour of an author's dot, from their e-mail: entry h & 7 of a fixed
// table of eight, h being the djb2 hash (start 5381, h = h * 33 + scalar,
// unsigned 32-bit) of the e-mail's Unicode scalars. The same in both themes.
terminal::Color avatarColor(std::string_view email);

}  // namespace tarv::ui::HistoryViews
