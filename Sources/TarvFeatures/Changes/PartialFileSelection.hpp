#pragma once

#include <set>

#include "TarvCore/Models/Diff.hpp"
#include "TarvCore/Models/LineRef.hpp"

namespace tarv::features {

// The lines of one file chosen for the next commit, and the diff they were
// chosen on (the references point into it).
struct PartialFileSelection {
    // Chosen added and removed lines; never empty and never all change lines
    // of `diff` (those are an excluded and a wholly included file).
    std::set<core::LineRef> lines;
    core::Diff diff;

    bool operator==(const PartialFileSelection&) const = default;
};

}  // namespace tarv::features
