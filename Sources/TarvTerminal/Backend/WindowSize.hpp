#pragma once

#include <optional>

#include "TarvTerminal/Geometry/Size.hpp"

namespace tarv::terminal::WindowSize {

// The window size of the terminal on `fileDescriptor` (columns x rows), or
// none when it cannot be read or either count is 0.
std::optional<Size> current(int fileDescriptor = 1);

}  // namespace tarv::terminal::WindowSize
