#pragma once

#include <mutex>

namespace tarv::system {

// The one lock held around every spawn of this process (the background
// runner, its streams and the foreground runner), so that no two spawns
// interleave.
std::mutex& spawnLock();

}  // namespace tarv::system
