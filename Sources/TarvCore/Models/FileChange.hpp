#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "TarvCore/Models/ChangeKind.hpp"
#include "TarvCore/Text/HashCombine.hpp"

namespace tarv::core {

// One changed path in the working tree. Paths are the bytes git printed,
// relative to the repository root and "/" separated; they go back to git
// unchanged, so they are never repaired.
struct FileChange {
    std::string path;
    // The old path of a rename or copy.
    std::optional<std::string> originalPath = std::nullopt;
    ChangeKind kind = ChangeKind::modified;
    // The index differs from HEAD for this path.
    bool hasStagedChanges = false;
    // The working file differs from the index.
    bool hasUnstagedChanges = true;
    // The path is a submodule: its changes are inside another repository.
    bool isSubmodule = false;

    // Everything up to and including the last "/"; empty when there is none.
    std::string directory() const {
        const std::size_t slash = path.rfind('/');
        return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    }
    // Everything after the last "/"; the whole path when there is none.
    std::string fileName() const {
        const std::size_t slash = path.rfind('/');
        return slash == std::string::npos ? path : path.substr(slash + 1);
    }

    bool operator==(const FileChange&) const = default;
};

}  // namespace tarv::core

template <>
struct std::hash<tarv::core::FileChange> {
    std::size_t operator()(const tarv::core::FileChange& f) const {
        return tarv::core::hashValues(f.path, f.originalPath, f.kind, f.hasStagedChanges, f.hasUnstagedChanges,
                                       f.isSubmodule);
    }
};
