#pragma once

#include <optional>
#include <string>

#include "TarvFeatures/Diff/DiffViewState.hpp"

namespace tarv::ui::DiffTextCopy {

// The text a mouse selection in a diff pane covers, as the pane shows it
// (tabs as spaces to stops of 4, control characters as "·"), one line per
// selected row joined by line feeds. Every row is read on the side where
// the selection began; hunk headers, empty halves and no-newline markers
// add nothing. None when there is no selection, it is empty, no diff is
// loaded, or it covers no text.
std::optional<std::string> text(const features::DiffViewState& view);

}  // namespace tarv::ui::DiffTextCopy
