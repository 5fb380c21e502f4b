#include "TarvSystem/IPC/SecureRandom.hpp"

#include <sys/random.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace tarv::system::SecureRandom {

namespace {

void fill(void* buffer, std::size_t length) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t got = ::getrandom(bytes + done, length - done, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            std::abort();
        }
        done += static_cast<std::size_t>(got);
    }
}

}  // namespace

std::uint32_t next32() {
    std::uint32_t value = 0;
    fill(&value, sizeof value);
    return value;
}

std::uint64_t next64() {
    std::uint64_t value = 0;
    fill(&value, sizeof value);
    return value;
}

}  // namespace tarv::system::SecureRandom
