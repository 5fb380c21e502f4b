#include "TarvTerminal/Backend/WindowSize.hpp"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tarv::terminal::WindowSize {

std::optional<Size> current(int fileDescriptor) {
    winsize ws{};
    if (ioctl(fileDescriptor, TIOCGWINSZ, &ws) != 0) return std::nullopt;
    if (ws.ws_col == 0 || ws.ws_row == 0) return std::nullopt;
    return Size{ws.ws_col, ws.ws_row};
}

std::optional<Size> ofTerminal(int output, int input) {
    if (auto size = current(output)) return size;
    if (auto size = current(input)) return size;
    const int controlling = open("/dev/tty", O_RDONLY | O_NOCTTY | O_CLOEXEC);
    if (controlling < 0) return std::nullopt;
    auto size = current(controlling);
    close(controlling);
    return size;
}

}  // namespace tarv::terminal::WindowSize
