#pragma once

#include <chrono>

#include "TarvCore/Localization/Language.hpp"

namespace tarv::app::ProbeCommand {

// The live probes of the command line. Each needs a terminal on standard
// input and standard output; without one, or when the terminal cannot be
// queried or recorded, it writes the "needs an interactive terminal" line to
// standard error and returns 1. Otherwise it prints its lines on standard
// output and returns 0. A kill or a crash while one waits gives the terminal
// back first (ProbeTerminalGuard).

struct Timing {
    std::chrono::milliseconds clickWait{10000};
    std::chrono::milliseconds wheelRecording{15000};
};

// `doctor --probe`: the title, the capability lines, the colour swatch, the
// click prompt, one click awaited, the click line.
int probe(core::Language language, Timing timing = {});

// `scroll-probe`: the prompt, wheel steps recorded, the gesture summary.
int scrollProbe(core::Language language, Timing timing = {});

}  // namespace tarv::app::ProbeCommand
