#pragma once

#include <map>
#include <optional>
#include <string>

#include "TarvTerminal/Backend/ColorSupport.hpp"

namespace tarv::terminal::TerminalCapabilities {

using Environment = std::map<std::string, std::string>;

// The colour depth the terminal supports, from the environment alone
// (NO_COLOR, TERM, COLORTERM, TERM_PROGRAM) and the operating system's major
// version when known.
ColorSupport colorSupport(const Environment& environment, std::optional<int> macOSMajorVersion);

// The terminal program's name for diagnostics: TERM_PROGRAM when not empty,
// else TERM when present, else "desconocido".
std::string programName(const Environment& environment);

// The current process environment as a map.
Environment processEnvironment();

}  // namespace tarv::terminal::TerminalCapabilities
