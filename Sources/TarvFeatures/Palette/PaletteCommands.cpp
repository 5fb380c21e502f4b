// Placeholder until the palette's command list lands: nothing is offered.
#include "TarvFeatures/Palette/PaletteCommands.hpp"

namespace tarv::features::PaletteCommands {

std::vector<core::AppCommand> available(const AppState&) { return {}; }

std::vector<core::AppCommand> results(const AppState&, std::string_view) { return {}; }

}  // namespace tarv::features::PaletteCommands
