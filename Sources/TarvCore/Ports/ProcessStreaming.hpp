#pragma once

#include <memory>

#include "TarvCore/Models/ProcessSpec.hpp"
#include "TarvCore/Ports/ProcessStream.hpp"

namespace tarv::core {

// Starts children whose output is read incrementally (ProcessStream), with
// the guarantees of ProcessRunning: their own process group, nothing of
// this process leaked into them, always reaped. A runner that can also do
// this implements both ports; callers find out by asking for this one.
class ProcessStreaming {
public:
    virtual ~ProcessStreaming() = default;

    // Starts the child described by `spec` and returns at once. Standard
    // input is /dev/null: `spec.stdin` must be absent. `spec.timeout` bounds
    // each wait of the stream (one `read` or the final `finish`), not the
    // child's life: a stream that nobody reads waits without limit. Throws
    // ProcessError::spawnFailed when the child did not start.
    virtual std::unique_ptr<ProcessStream> start(const ProcessSpec& spec) = 0;
};

}  // namespace tarv::core
