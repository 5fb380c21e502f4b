#pragma once

#include <cstdint>

namespace tarv::system::SecureRandom {

// Random values from the kernel's secure source (getrandom). Aborts the
// process when the source cannot be read: without it no secret can be made.
std::uint32_t next32();
std::uint64_t next64();

}  // namespace tarv::system::SecureRandom
