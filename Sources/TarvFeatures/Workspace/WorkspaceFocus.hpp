#pragma once

namespace tarv::features {

// The workspace pane that receives keys (`WorkspaceState::Focus`). The first
// four belong to the Changes tab, the last three to the History tab.
enum class WorkspaceFocus { files, diff, summary, description, historyList, historyFiles, historyDiff };

}  // namespace tarv::features
