#include "TarvApp/Runtime/AllocatorSettings.hpp"

#include <malloc.h>

namespace tarv::app::AllocatorSettings {

void retainFreedMemory() {
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
    mallopt(M_ARENA_MAX, 4);
}

}  // namespace tarv::app::AllocatorSettings
