#pragma once

#include <optional>
#include <string>

namespace tarv::system::SystemAppearance {

// The interface style the user chose for the desktop ("Dark" for a dark
// appearance), or none. Linux desktops keep no global preferences file with
// this setting, so there is never an answer: the theme then follows the
// command line, and is light without one.
std::optional<std::string> interfaceStyle(const std::optional<std::string>& home);

}  // namespace tarv::system::SystemAppearance
