#include "TarvTerminal/Backend/TerminalOutput.hpp"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace tarv::terminal::TerminalOutput {

void writeAll(int fileDescriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fileDescriptor, bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{fileDescriptor, POLLOUT, 0};
            const int ready = ::poll(&p, 1, -1);
            if (ready < 0 && errno != EINTR) return;
            if (ready > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL))) return;
            continue;
        }
        return;
    }
}

}  // namespace tarv::terminal::TerminalOutput
