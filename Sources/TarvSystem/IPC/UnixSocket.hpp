#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Small blocking routines for Unix-domain stream sockets, shared by the
// askpass client and server. They keep no state; descriptors they return
// belong to the caller. Every descriptor is opened close-on-exec and writes
// never raise SIGPIPE.
namespace tarv::system::UnixSocket {

// The longest socket path that fits a Linux `sockaddr_un` with its NUL.
inline constexpr std::size_t maxPathBytes = 107;

// A listening socket bound to `path`, or empty; on failure errno is left as
// the failing call set it. A leftover file at `path` is removed first. The
// socket file has mode 0600 from the moment it exists.
std::optional<int> listen(const std::string& path);

// A socket connected to `path`, or empty (errno left as set).
std::optional<int> connect(const std::string& path);

// One line without its terminating 0x0A, reading one byte per call so that
// nothing after the line is consumed. Empty when `maxBytes` is 0, when the
// line reaches `maxBytes` bytes without a 0x0A, or when the input ends (or
// fails) before any byte; a last line without 0x0A is returned as it is.
std::optional<std::vector<std::uint8_t>> readLine(int fd, std::size_t maxBytes);

// Writes every byte; EINTR is retried, any other failure or a zero-byte
// write stops silently. True when everything was written.
bool writeAll(int fd, std::span<const std::uint8_t> bytes);

}  // namespace tarv::system::UnixSocket
