#pragma once

#include <optional>
#include <vector>

#include "TarvCore/Models/BranchStatus.hpp"
#include "TarvCore/Models/FileChange.hpp"
#include "TarvCore/Models/RepositoryOperation.hpp"

namespace tarv::core {

// The result of a status read.
struct WorkingTreeStatus {
    BranchStatus branch = {};
    // In the order git reported them.
    std::vector<FileChange> files = {};
    // The operation in progress; none when nothing is.
    std::optional<RepositoryOperation> operation = std::nullopt;

    // The files of kind `conflicted`, in their order.
    std::vector<FileChange> conflictedFiles() const {
        std::vector<FileChange> out;
        for (const auto& file : files) {
            if (file.kind == ChangeKind::conflicted) out.push_back(file);
        }
        return out;
    }

    bool operator==(const WorkingTreeStatus&) const = default;
};

}  // namespace tarv::core
