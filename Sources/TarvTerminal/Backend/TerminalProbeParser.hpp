#pragma once

#include <string_view>

#include "TarvTerminal/Backend/TerminalProbeClick.hpp"
#include "TarvTerminal/Backend/TerminalProbeReport.hpp"

namespace tarv::terminal::TerminalProbeParser {

// Reads the terminal's answers: DECRPM mode reports, the primary device
// attributes and the DECRQSS report of the current colour.
TerminalProbeReport parse(std::string_view bytes);

// True once the primary device attributes answer (asked last) has arrived.
bool containsDeviceAttributes(std::string_view bytes);

// Which mouse encoding the bytes use: the first ESC "[M" (X10) or ESC "[<"
// (SGR) decides.
TerminalProbeClick::Encoding mouseEncoding(std::string_view bytes);

}  // namespace tarv::terminal::TerminalProbeParser
