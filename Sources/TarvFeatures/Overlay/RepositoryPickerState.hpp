#pragma once

#include "TarvCore/Models/EditableText.hpp"
#include "TarvCore/Models/ListScroll.hpp"

namespace tarv::features {

// The list of known repositories (the welcome screen and the picker). The
// first row is selected even before any rows exist.
struct RepositoryPickerState {
    core::EditableText filter{};
    core::ListScroll list{.offset = 0, .selected = 0};

    bool operator==(const RepositoryPickerState&) const = default;
};

}  // namespace tarv::features
