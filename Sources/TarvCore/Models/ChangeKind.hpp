#pragma once

#include <array>
#include <cstddef>

namespace tarv::core {

// The kind of change of one file.
enum class ChangeKind { modified, added, deleted, renamed, copied, typeChanged, untracked, conflicted };

inline constexpr std::array<ChangeKind, 8> allChangeKinds = {
    ChangeKind::modified, ChangeKind::added,       ChangeKind::deleted,   ChangeKind::renamed,
    ChangeKind::copied,   ChangeKind::typeChanged, ChangeKind::untracked, ChangeKind::conflicted,
};

}  // namespace tarv::core
