#pragma once

#include <string_view>
#include <vector>

#include "TarvCore/Models/Worktree.hpp"

namespace tarv::engine {

// Reads `git worktree list --porcelain` into worktrees, the main one first.
// Bare worktrees and blocks without a path are skipped.
struct WorktreeParser {
    static std::vector<core::Worktree> parse(std::string_view output);
};

}  // namespace tarv::engine
