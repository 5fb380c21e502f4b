#pragma once

#include <optional>

#include "TarvTerminal/Geometry/Size.hpp"

namespace tarv::terminal::WindowSize {

// The window size of the terminal on `fileDescriptor` (columns x rows), or
// none when it cannot be read or either count is 0.
std::optional<Size> current(int fileDescriptor = 1);

// The size of the terminal the program draws on: that of `output` when it is
// a terminal, else that of `input`, else that of the process's controlling
// terminal (/dev/tty). With standard output piped (`tarv | cat`) the frames
// still reach the terminal the user looks at, so its size is the one to use.
std::optional<Size> ofTerminal(int output = 1, int input = 0);

}  // namespace tarv::terminal::WindowSize
