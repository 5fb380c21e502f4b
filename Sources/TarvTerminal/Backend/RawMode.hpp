#pragma once

#include <termios.h>

namespace tarv::terminal {

// Raw mode on a terminal, with the attributes found before it was applied.
// Restoring is tcsetattr(fd, TCSAFLUSH, &original).
struct RawMode {
    termios original{};

    // Switches the terminal on `fileDescriptor` to raw mode: no echo, no
    // line editing, no signal keys (ctrl-C and ctrl-Z arrive as bytes), no
    // output processing, reads return after one byte. Pending input is
    // discarded. Throws TerminalError.
    static RawMode enable(int fileDescriptor);
};

}  // namespace tarv::terminal
