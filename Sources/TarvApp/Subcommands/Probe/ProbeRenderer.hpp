#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "TarvCore/Localization/Language.hpp"
#include "TarvTerminal/Backend/TerminalProbeClick.hpp"
#include "TarvTerminal/Backend/TerminalProbeReport.hpp"
#include "TarvTerminal/Backend/WheelSummary.hpp"

namespace tarv::app::ProbeRenderer {

// The lines `doctor --probe` and `scroll-probe` print for what the live
// terminal answered. Pure: each returns the lines (no line feeds); the caller
// prints each with a line feed. Only the colour swatch holds escape
// sequences.

// The display name of each probed mode, the same in every language (trailing
// blanks included, so that the words after them line up).
const std::map<std::int64_t, std::string>& modeNames();

// " · " and: the device attributes line, one line per probed mode (in the
// probe's order), the 24-bit colour line.
std::vector<std::string> capabilities(const terminal::TerminalProbeReport& report, core::Language language);

// The heading line and one line of `width` cells going from blue (left) to
// red (right) on 24-bit backgrounds, after three blanks and ending in a
// reset.
std::vector<std::string> colorSwatch(core::Language language, int width);

// The click line; `click` absent when none arrived within the wait.
std::string click(const std::optional<terminal::TerminalProbeClick>& click, core::Language language);

// The totals line and one line per gesture, or only the "nothing arrived"
// line when there were no gestures.
std::vector<std::string> wheel(const terminal::WheelSummary& summary, core::Language language);

}  // namespace tarv::app::ProbeRenderer
