#include "TarvSystem/IPC/UnixSocket.hpp"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tarv::system::UnixSocket {

namespace {

static_assert(sizeof(sockaddr_un{}.sun_path) == maxPathBytes + 1);

std::optional<sockaddr_un> address(const std::string& path) {
    if (path.size() > maxPathBytes || path.find('\0') != std::string::npos) return std::nullopt;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    address.sun_path[path.size()] = '\0';
    return address;
}

void closeKeepingErrno(int fd) {
    const int saved = errno;
    ::close(fd);
    errno = saved;
}

}  // namespace

std::optional<int> listen(const std::string& path) {
    const auto addr = address(path);
    if (!addr) {
        errno = ENAMETOOLONG;
        return std::nullopt;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return std::nullopt;
    // Linux gives the file that bind creates the mode of the socket's own
    // inode (less the umask), so the socket is 0600 from its first moment
    // without touching the process-wide umask.
    if (::fchmod(fd, 0600) != 0) {
        closeKeepingErrno(fd);
        return std::nullopt;
    }
    ::unlink(path.c_str());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&*addr), sizeof(sockaddr_un)) != 0 ||
        ::chmod(path.c_str(), 0600) != 0 || ::listen(fd, 8) != 0) {
        closeKeepingErrno(fd);
        return std::nullopt;
    }
    return fd;
}

std::optional<int> connect(const std::string& path) {
    const auto addr = address(path);
    if (!addr) {
        errno = ENAMETOOLONG;
        return std::nullopt;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return std::nullopt;
    int result;
    do {
        result = ::connect(fd, reinterpret_cast<const sockaddr*>(&*addr), sizeof(sockaddr_un));
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        closeKeepingErrno(fd);
        return std::nullopt;
    }
    return fd;
}

std::optional<std::vector<std::uint8_t>> readLine(int fd, std::size_t maxBytes) {
    if (maxBytes < 1) return std::nullopt;
    std::vector<std::uint8_t> line;
    for (;;) {
        std::uint8_t byte = 0;
        const ssize_t got = ::read(fd, &byte, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        if (byte == 0x0A) return line;
        line.push_back(byte);
        if (line.size() >= maxBytes) return std::nullopt;
    }
    if (line.empty()) return std::nullopt;
    return line;
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        const ssize_t sent = ::send(fd, bytes.data() + offset, bytes.size() - offset, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        offset += static_cast<std::size_t>(sent);
    }
    return true;
}

}  // namespace tarv::system::UnixSocket
