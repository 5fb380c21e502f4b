#pragma once

#include <string_view>
#include <vector>

#include "TarvCore/Models/StashEntry.hpp"

namespace tarv::engine {

// Reads `git stash list -z --format=` + `format` into stash entries, newest
// first, with the branch and message taken from the reflog subject (a stash
// made on a detached HEAD has no branch).
struct StashParser {
    // Reflog name, commit id, time, subject.
    static constexpr std::string_view format = "%gd%x1f%H%x1f%ct%x1f%gs";

    // Put before the messages of the stashes this program creates; removed
    // again when they are listed.
    static constexpr std::string_view messagePrefix = "tarv: ";

    static std::vector<core::StashEntry> parse(std::string_view output);
};

}  // namespace tarv::engine
