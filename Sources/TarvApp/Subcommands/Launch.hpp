#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "TarvApp/Runtime/RuntimeOptions.hpp"
#include "TarvApp/Subcommands/LaunchArguments.hpp"
#include "TarvCore/Ports/KeymapStore.hpp"

namespace tarv::app::Launch {

using Environment = std::map<std::string, std::string>;

// The runtime options for launch arguments: the language (the "--lang"
// option, else the environment's), the colour depth of the terminal ("none"
// with "--no-color"), the theme (the "--theme" flag, else the desktop's
// style), and the keymap overrides of `keymap` with a start-up notice when
// the file had problems (a file that cannot be read or parsed gives the
// standard keymap and no notice).
RuntimeOptions options(const LaunchArguments& arguments, const Environment& environment, core::KeymapStore& keymap);

// Launches the interface or the gallery for the arguments after the program
// name: an unknown option is reported with the usage on standard error (exit
// code 2) before anything is started; "--help" or "--version" among the
// options prints the usage or the version instead (exit code 0). Messages
// are in the language of the "--lang" option, else the environment's.
std::int32_t run(const std::vector<std::string>& arguments, const Environment& environment);

}  // namespace tarv::app::Launch
