#pragma once

#include <optional>

#include "TarvCore/Localization/Language.hpp"
#include "TarvCore/Localization/Text.hpp"
#include "TarvTerminal/Backend/ColorSupport.hpp"
#include "TarvUI/Keymap/Keymap.hpp"
#include "TarvUI/Theme/Theme.hpp"

namespace tarv::app {

// What the command line settled for the interface and the gallery.
struct RuntimeOptions {
    // Mouse reporting wanted (off with "--no-mouse").
    bool mouse = true;
    ui::Theme theme = ui::Theme::dark;
    core::Language language = core::Language::en;
    // `none` with "--no-color".
    terminal::ColorSupport colorSupport = terminal::ColorSupport::trueColor;
    // The standard keymap with the user's overrides.
    ui::Keymap keymap;
    // Shown once after launch: how many keymap entries were not applied.
    std::optional<core::Text> startupNotice;
};

}  // namespace tarv::app
