#pragma once

namespace tarv::core {

// What the toolbar's sync button does when pressed.
enum class SyncAction { fetch, pull, push, publishBranch, publishRepository };

}  // namespace tarv::core
