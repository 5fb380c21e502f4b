#pragma once

#include <cstdint>

namespace tarv::system {

// Turns a wait status word into the exit code the runners report: 128 plus the
// signal number for a child ended by a signal, else its exit status (0..255).
constexpr std::int32_t decodeExitStatus(int status) noexcept {
    const int signal = status & 0x7f;
    if (signal != 0) return 128 + signal;
    return (status >> 8) & 0xff;
}

}  // namespace tarv::system
