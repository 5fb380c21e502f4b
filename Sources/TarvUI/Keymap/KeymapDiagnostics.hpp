#pragma once

#include <optional>
#include <string>
#include <vector>

#include "TarvCore/Models/AppCommand.hpp"

namespace tarv::ui {

// Checks over the standard keymap, for the keymap subcommand and tests.
namespace KeymapDiagnostics {

// One "scope/key/modifiers" text per repeated key within a scope; a global
// key counts in every scope.
std::vector<std::string> duplicateKeys();
std::optional<std::string> shortcut(core::AppCommand command);

}  // namespace KeymapDiagnostics

}  // namespace tarv::ui
