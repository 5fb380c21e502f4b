#pragma once

#include <cstdint>
#include <memory>
#include <stop_token>
#include <string>

#include "TarvCore/Ports/FileStore.hpp"
#include "TarvEngine/Service/GitExecutor.hpp"

namespace tarv::engine {

// A recovery point of everything not committed, for the steps that can reset
// the working tree or the index (skipping or aborting the operation in
// progress, undoing a commit): a snapshot (SnapshotCommands) of every path
// the status lists, staged, unstaged, untracked or in conflict, so that it
// holds the working tree's version of each and, in its index commit, the
// staged one (a path in conflict has none: it is absent there). Ignored
// files are not kept (those steps leave them alone).
struct RecoveryPoint {
    GitExecutor executor;
    std::shared_ptr<core::FileStore> files;

    // Records the recovery point and returns its ref
    // ("refs/tarv/snapshots/<now>-<7 hex digits>"); a failure throws, and
    // the step it guards must not run then.
    std::string record(const std::string& repository, std::int64_t now, std::stop_token stop) const;
};

}  // namespace tarv::engine
