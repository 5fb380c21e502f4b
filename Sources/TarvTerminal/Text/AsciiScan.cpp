#include "TarvTerminal/Text/AsciiScan.hpp"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tarv::terminal::detail {

std::size_t printableAsciiRun(const char* p, std::size_t n) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i below = _mm_set1_epi8(0x1F);
    const __m128i above = _mm_set1_epi8(0x7F);
    while (i + 16 <= n) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        // Signed compares: bytes from 0x80 are negative and fail the first.
        const __m128i ok = _mm_and_si128(_mm_cmpgt_epi8(v, below), _mm_cmplt_epi8(v, above));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(ok));
        if (mask != 0xFFFFu) return i + static_cast<std::size_t>(__builtin_ctz(~mask));
        i += 16;
    }
#endif
    while (i < n && static_cast<unsigned char>(p[i] - 0x20) < 0x5F) ++i;
    return i;
}

}  // namespace tarv::terminal::detail
