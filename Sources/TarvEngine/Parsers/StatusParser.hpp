#pragma once

#include <string_view>

#include "TarvCore/Models/WorkingTreeStatus.hpp"

namespace tarv::engine {

// Reads the output of `git status --porcelain=v2 -z --branch
// --untracked-files=all` into the branch header and the changed files, sorted
// for display. Paths are kept byte for byte. The operation in progress is not
// in git's output and is left empty. Never fails.
struct StatusParser {
    static core::WorkingTreeStatus parse(std::string_view output);
};

}  // namespace tarv::engine
