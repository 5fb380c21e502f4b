#pragma once

#include <string_view>

namespace tarv::app {

// Holds the way back for the terminal while a live probe owns it. The probes
// switch the terminal to raw mode and turn mouse reporting on while they wait
// for answers, a click or the wheel; a kill (SIGTERM, SIGHUP, SIGINT,
// SIGQUIT) or a crash during such a wait must not leave the user's shell in
// raw mode with the mouse reporting. For the guard's life, those signals
// write `resetSequence`, restore the attributes the terminal had when the
// guard was made, and then end the process as they would have, through the
// same crash restoration the terminal session uses. Does nothing when
// standard input is not a terminal.
class ProbeTerminalGuard {
public:
    // Mouse reporting off and colours reset; the probes never leave the
    // normal screen or hide the cursor.
    static constexpr std::string_view resetSequence = "\x1b[?1006l\x1b[?1002l\x1b[?1000l\x1b[0m";

    ProbeTerminalGuard();
    ~ProbeTerminalGuard();
    ProbeTerminalGuard(const ProbeTerminalGuard&) = delete;
    ProbeTerminalGuard& operator=(const ProbeTerminalGuard&) = delete;

private:
    bool installed_ = false;
};

}  // namespace tarv::app
