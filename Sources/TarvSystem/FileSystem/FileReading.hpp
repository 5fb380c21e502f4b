#pragma once

#include <unistd.h>

#include <cerrno>
#include <cstddef>

namespace tarv::system {

// Reads everything left in `fd`, appending it to `out` (a std::string or a
// byte vector), retrying on EINTR. False with errno set when a read fails;
// the descriptor stays open.
template <class Buffer>
bool readToEnd(int fd, Buffer& out) {
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        out.insert(out.end(), buffer, buffer + n);
    }
}

}  // namespace tarv::system
