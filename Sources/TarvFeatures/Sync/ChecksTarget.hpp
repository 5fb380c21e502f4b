#pragma once

#include <optional>
#include <string>

#include "TarvCore/Models/BranchStatus.hpp"

namespace tarv::features {

// Where the check runs of the current branch are read on the hosting
// service: the remote repository and the branch that the local branch
// tracks on "origin".
struct ChecksTarget {
    std::string owner;
    std::string name;
    // "heads/" + the branch.
    std::string ref;

    bool operator==(const ChecksTarget&) const = default;

    // The target of a workspace with this remote address and branch status:
    // none unless the address parses, its host (lower-cased) is the hosting
    // service's web host, it has an owner, and the upstream begins with
    // "origin/".
    static std::optional<ChecksTarget> of(const std::optional<std::string>& remoteURL,
                                          const core::BranchStatus& branch);

    // The key of one load: ref, "@", and HEAD's commit id (nothing after the
    // "@" without one). A new commit, checkout or branch makes a new key.
    std::string key(const core::BranchStatus& branch) const;
};

}  // namespace tarv::features
