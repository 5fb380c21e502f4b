#pragma once

#include <utility>
#include <vector>

#include "TarvCore/Models/ListScroll.hpp"
#include "TarvCore/Models/Tag.hpp"

namespace tarv::features {

// The tag picker: the repository's tags and the list's scroll and selection.
struct TagPickerState {
    std::vector<core::Tag> tags;
    core::ListScroll list;

    TagPickerState() = default;
    // Offset 0; row 0 selected, nothing when there are no tags.
    explicit TagPickerState(std::vector<core::Tag> tags);
    TagPickerState(std::vector<core::Tag> tags, core::ListScroll list)
        : tags(std::move(tags)), list(std::move(list)) {}

    bool operator==(const TagPickerState&) const = default;
};

}  // namespace tarv::features
