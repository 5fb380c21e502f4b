#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "TarvCore/Models/ChangeKind.hpp"
#include "TarvCore/Text/HashCombine.hpp"

namespace tarv::core {

// One file touched by a commit. The path is the bytes git printed.
struct CommitFile {
    std::string path;
    ChangeKind kind = ChangeKind::modified;
    // Lines added; none when git gave no count (binary files).
    std::optional<std::int64_t> additions = std::nullopt;
    // Lines removed; none when git gave no count.
    std::optional<std::int64_t> deletions = std::nullopt;

    bool operator==(const CommitFile&) const = default;
};

}  // namespace tarv::core

template <>
struct std::hash<tarv::core::CommitFile> {
    std::size_t operator()(const tarv::core::CommitFile& f) const {
        return tarv::core::hashValues(f.path, f.kind, f.additions, f.deletions);
    }
};
