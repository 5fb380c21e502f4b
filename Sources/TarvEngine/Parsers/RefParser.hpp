#pragma once

#include <string_view>
#include <vector>

#include "TarvCore/Models/Branch.hpp"

namespace tarv::engine {

// Reads the branch listing `git for-each-ref --sort=-committerdate
// --format=<format> refs/heads refs/remotes` into branches, in git's order.
// Lines of another shape and the symbolic HEAD of a remote are skipped.
struct RefParser {
    // Full name, short name, upstream, tracking, committer time, HEAD marker;
    // separated by the unit separator (0x1F).
    static constexpr std::string_view format =
        "%(refname)%1f%(refname:short)%1f%(upstream:short)%1f%(upstream:track)%1f%(committerdate:unix)%1f%(HEAD)";

    static std::vector<core::Branch> parse(std::string_view output);
};

}  // namespace tarv::engine
