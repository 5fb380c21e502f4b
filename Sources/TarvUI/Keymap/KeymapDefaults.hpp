#pragma once

#include <vector>

#include "TarvUI/Keymap/Binding.hpp"

// The default binding tables, private to the keymap.
namespace tarv::ui::KeymapDefaults {

std::vector<Binding> global();
std::vector<Binding> files();
std::vector<Binding> historyList();
std::vector<Binding> historyFiles();
// `scope` is `diff` or `historyDiff`.
std::vector<Binding> diff(Binding::Scope scope);

// A binding for `command` in `scope`: help is the command's text and the
// action sends the command.
Binding commandBinding(Binding::Scope scope, core::AppCommand command, std::vector<terminal::KeyEvent> keys,
                       std::string display, bool hint = false);

}  // namespace tarv::ui::KeymapDefaults
