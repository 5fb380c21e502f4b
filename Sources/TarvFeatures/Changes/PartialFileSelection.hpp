#pragma once

#include <set>

#include "TarvCore/Models/Diff.hpp"
#include "TarvCore/Models/LineRef.hpp"

namespace tarv::features {

// The lines of one file chosen for the next commit, and the diff they were
// chosen on (the references point into it).
struct PartialFileSelection {
    // Chosen added and removed lines; never empty. Chosen by hand, never all
    // change lines of `diff` (those are an excluded and a wholly included
    // file); carried over to a newer diff, they may be all of its change
    // lines and still take only those, not lines added later.
    std::set<core::LineRef> lines;
    core::Diff diff;

    bool operator==(const PartialFileSelection&) const = default;
};

}  // namespace tarv::features
