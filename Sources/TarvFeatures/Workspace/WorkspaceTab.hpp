#pragma once

namespace tarv::features {

// The visible tab of the workspace (`WorkspaceState::Tab`).
enum class WorkspaceTab { changes, history };

}  // namespace tarv::features
