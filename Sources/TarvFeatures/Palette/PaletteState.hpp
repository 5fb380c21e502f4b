#pragma once

#include "TarvCore/Models/EditableText.hpp"
#include "TarvCore/Models/ListScroll.hpp"

namespace tarv::features {

// The command palette: the typed query and the selection among the commands
// that match it. The first row is selected even before any rows exist.
struct PaletteState {
    core::EditableText query{};
    core::ListScroll list{.offset = 0, .selected = 0};

    bool operator==(const PaletteState&) const = default;
};

}  // namespace tarv::features
