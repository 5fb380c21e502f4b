#pragma once

#include <optional>
#include <string>

namespace tarv::core::AppearanceRules {

enum class Appearance { light, dark };

// The theme: the --theme flag "dark" or "light" wins; any other flag (or none)
// follows the desktop's interface style, "Dark" giving dark; else light.
Appearance resolve(const std::optional<std::string>& flag, const std::optional<std::string>& interfaceStyle);

}  // namespace tarv::core::AppearanceRules
