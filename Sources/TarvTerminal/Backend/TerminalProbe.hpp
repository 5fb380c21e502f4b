#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "TarvTerminal/Backend/TerminalProbeClick.hpp"
#include "TarvTerminal/Backend/TerminalProbeReport.hpp"
#include "TarvTerminal/Backend/WheelSample.hpp"

namespace tarv::terminal::TerminalProbe {

// The DEC private modes the interface relies on: mouse buttons, motion with a
// button held, focus reports, SGR mouse coordinates, bracketed paste,
// synchronized output.
inline constexpr std::array<std::int64_t, 6> probedModes{1000, 1002, 1004, 1006, 2004, 2026};

inline constexpr std::chrono::milliseconds defaultTimeout{1500};

// Each probe puts descriptor 0 in raw mode for its duration, talks to the
// terminal on descriptors 0 and 1 and gives the terminal back on every way
// out. They must not run while a terminal session runs. They throw
// TerminalError when standard input is not a usable terminal, before writing
// anything.

// Asks which probed modes are supported, whether a 24-bit colour is kept and
// the primary device attributes; waits for the answers up to `timeout`.
TerminalProbeReport queryCapabilities(std::chrono::milliseconds timeout = defaultTimeout);

// Waits up to `timeout` for one mouse click; none on timeout or when a key is
// pressed.
std::optional<TerminalProbeClick> waitForClick(std::chrono::milliseconds timeout);

// Records wheel steps for `duration`, or until a key is pressed.
std::vector<WheelSample> recordWheel(std::chrono::milliseconds duration);

}  // namespace tarv::terminal::TerminalProbe
