#pragma once

namespace tarv::features {

// A scrolled pane of the workspace: the target of a scroll action.
enum class Pane { files, diff, historyList, historyFiles, historyDiff };

}  // namespace tarv::features
