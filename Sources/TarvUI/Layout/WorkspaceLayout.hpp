#pragma once

#include <optional>
#include <vector>

#include "TarvFeatures/Workspace/WorkspaceFocus.hpp"
#include "TarvFeatures/Workspace/WorkspaceTab.hpp"
#include "TarvTerminal/Geometry/Rect.hpp"
#include "TarvTerminal/Geometry/Size.hpp"

namespace tarv::ui {

// The rectangles of the workspace screen for one terminal size, tab and
// focus: the toolbar (rows 0-2) with its three button segments, the tab row
// (row 3), up to three panes from row 4, and the last row shared by the hint
// bar and the toast. The frame's drawing and its mouse routing both use
// these, so they always agree.
//
// Wide (70 columns or more): the sidebar on the left, a free divider column,
// then the main pane; on the History tab from 110 columns a 28-column middle
// pane stands between them. Compact (below 70): one pane fills the width,
// the main pane while a diff has the focus, the sidebar otherwise.
struct WorkspaceLayout {
    terminal::Rect toolbar;
    terminal::Rect tabs;
    std::optional<terminal::Rect> sidebar;
    std::optional<terminal::Rect> middle;
    std::optional<terminal::Rect> main;
    terminal::Rect hint;
    terminal::Rect toast;
    // Repository, branch and sync buttons: two rows high, one column apart.
    std::vector<terminal::Rect> segments;
    bool isCompact = false;

    // The smallest terminal the application draws at all.
    static constexpr terminal::Size minimumSize{50, 14};

    static WorkspaceLayout make(terminal::Size size, features::WorkspaceTab tab, features::WorkspaceFocus focus);

    bool operator==(const WorkspaceLayout&) const = default;
};

}  // namespace tarv::ui
