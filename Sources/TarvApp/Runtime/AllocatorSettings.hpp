#pragma once

namespace tarv::app::AllocatorSettings {

// Keeps freed memory in the process for the next parse instead of handing it
// back to the system at once. Parsing a large status, history page or diff
// builds tens of megabytes of small values; on the virtual machines this
// runs on, touching fresh pages costs about 4 µs each, so a parse that gets
// fresh memory every time spends most of its time in page faults. Measured
// on 200,000 parsed diff lines built on a new thread per parse, as the
// effect jobs do: about 200 ms each with the allocator's defaults, 13 ms
// with these settings (engine_reads_bench --retained-heap: status of 100,000
// files 80 ms -> 16 ms, diff of 200,000 lines 105 ms -> 21 ms).
//
// - Blocks up to 64 MiB come from the heap (not a fresh mapping each time).
// - Free memory at the top of a heap is given back only beyond 128 MiB.
// - At most 4 arenas, so job threads share the retained memory instead of
//   each keeping its own.
//
// Called once, first thing in the interactive process and the gallery.
void retainFreedMemory();

}  // namespace tarv::app::AllocatorSettings
