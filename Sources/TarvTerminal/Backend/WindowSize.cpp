#include "TarvTerminal/Backend/WindowSize.hpp"

#include <sys/ioctl.h>

namespace tarv::terminal::WindowSize {

std::optional<Size> current(int fileDescriptor) {
    winsize ws{};
    if (ioctl(fileDescriptor, TIOCGWINSZ, &ws) != 0) return std::nullopt;
    if (ws.ws_col == 0 || ws.ws_row == 0) return std::nullopt;
    return Size{ws.ws_col, ws.ws_row};
}

}  // namespace tarv::terminal::WindowSize
