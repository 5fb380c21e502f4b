#pragma once

#include <array>
#include <cstddef>

namespace tarv::core {

// An operation that git has in progress.
enum class RepositoryOperation { merge, rebase, cherryPick, revert };

inline constexpr std::array<RepositoryOperation, 4> allRepositoryOperations = {
    RepositoryOperation::merge, RepositoryOperation::rebase, RepositoryOperation::cherryPick, RepositoryOperation::revert};

}  // namespace tarv::core
