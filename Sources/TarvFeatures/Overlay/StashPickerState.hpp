#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "TarvCore/Models/ListScroll.hpp"
#include "TarvCore/Models/StashEntry.hpp"

namespace tarv::features {

// The list of stashes: the first row selected, nothing when there are none.
struct StashPickerState {
    std::vector<core::StashEntry> entries;
    core::ListScroll list;

    explicit StashPickerState(std::vector<core::StashEntry> entries)
        : entries(std::move(entries)),
          list{.offset = 0, .selected = this->entries.empty() ? std::nullopt : std::optional<std::int64_t>(0)} {}

    bool operator==(const StashPickerState&) const = default;
};

}  // namespace tarv::features
