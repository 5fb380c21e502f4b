#pragma once

#include <cstddef>

namespace tarv::terminal::detail {

// The number of bytes from `p` on, at most `n`, that are printable ASCII
// (0x20-0x7E).
std::size_t printableAsciiRun(const char* p, std::size_t n);

}  // namespace tarv::terminal::detail
