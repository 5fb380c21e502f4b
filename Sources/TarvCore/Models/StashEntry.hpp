#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "TarvCore/Text/HashCombine.hpp"

namespace tarv::core {

// One stash.
struct StashEntry {
    // The stash's reflog name as git prints it ("stash@{0}" is the newest).
    std::string reference;
    std::string message;
    // The branch it was made on.
    std::optional<std::string> branch = std::nullopt;
    // In seconds.
    std::int64_t timestamp = 0;
    // The stash's commit id: what a restore or a drop acts on, wherever the
    // stash is in the list by then.
    std::string commit = "";

    bool operator==(const StashEntry&) const = default;
};

}  // namespace tarv::core

template <>
struct std::hash<tarv::core::StashEntry> {
    std::size_t operator()(const tarv::core::StashEntry& s) const {
        return tarv::core::hashValues(s.reference, s.message, s.branch, s.timestamp, s.commit);
    }
};
