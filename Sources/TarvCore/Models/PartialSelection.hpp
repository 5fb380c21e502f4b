#pragma once

#include <set>
#include <string>

#include "TarvCore/Models/Diff.hpp"
#include "TarvCore/Models/LineRef.hpp"

namespace tarv::core {

// The lines of one file chosen for a line-by-line commit.
struct PartialSelection {
    // The file's path in the repository, as git printed it.
    std::string path;
    // The file is not in HEAD, so the commit creates it.
    bool isNewFile = false;
    // The diff of the file from which lines were chosen.
    Diff diff = {};
    // The chosen changed lines of that diff; kept ordered so that the patch
    // built from them is the same every time.
    std::set<LineRef> lines = {};

    bool operator==(const PartialSelection&) const = default;
};

}  // namespace tarv::core
