#pragma once

#include <string_view>
#include <vector>

#include "TarvCore/Models/CommitFile.hpp"

namespace tarv::engine {

// Joins the `--name-status -z` and `--numstat -z` listings of one commit
// (renames off) into its files with their line counts, sorted by path without
// regard to case. Never fails.
struct CommitFilesParser {
    static std::vector<core::CommitFile> parse(std::string_view nameStatus, std::string_view numstat);
};

}  // namespace tarv::engine
