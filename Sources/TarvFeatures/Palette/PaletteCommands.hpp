#pragma once

#include <string_view>
#include <vector>

#include "TarvCore/Models/AppCommand.hpp"

namespace tarv::features {

struct AppState;

// The commands the palette offers in a state, and its rows for a typed
// query. Nothing is stored: callers recompute the rows from the current
// state.
namespace PaletteCommands {

// The commands that make sense in `state`, in declaration order.
std::vector<core::AppCommand> available(const AppState& state);

// `available(state)` fuzzy-filtered by the commands' titles in the state's
// language; a blank query keeps them all in their order.
std::vector<core::AppCommand> results(const AppState& state, std::string_view query);

}  // namespace PaletteCommands

}  // namespace tarv::features
