#include "TarvTerminal/Backend/RawMode.hpp"

#include <unistd.h>

#include <cerrno>

#include "TarvTerminal/Backend/TerminalError.hpp"

namespace tarv::terminal {

RawMode RawMode::enable(int fileDescriptor) {
    if (isatty(fileDescriptor) != 1) throw TerminalError::notATTY();
    termios original{};
    if (tcgetattr(fileDescriptor, &original) != 0) throw TerminalError::attributesFailed(errno);
    termios raw = original;
    raw.c_iflag &= ~static_cast<tcflag_t>(BRKINT | INPCK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
    raw.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    raw.c_cflag |= CS8;
    raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHOKE | ICANON | ISIG | IEXTEN);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    if (tcsetattr(fileDescriptor, TCSAFLUSH, &raw) != 0) throw TerminalError::attributesFailed(errno);
    return RawMode{original};
}

}  // namespace tarv::terminal
