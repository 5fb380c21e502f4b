#pragma once

#include <string_view>

namespace tarv::terminal::TerminalOutput {

// Writes all of `bytes` to `fileDescriptor`. Interrupted writes are retried;
// when the descriptor is non-blocking and the terminal is slow, it waits
// until the terminal can take more instead of spinning. Any other error ends
// the write silently: terminal output never fails the caller.
void writeAll(int fileDescriptor, std::string_view bytes);

}  // namespace tarv::terminal::TerminalOutput
