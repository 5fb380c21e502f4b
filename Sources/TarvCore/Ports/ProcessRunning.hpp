#pragma once

#include <stop_token>

#include "TarvCore/Models/ProcessResult.hpp"
#include "TarvCore/Models/ProcessSpec.hpp"

namespace tarv::core {

// Runs child processes (the git engine, the secret store, platform services).
// Implementations must allow concurrent calls.
class ProcessRunning {
public:
    virtual ~ProcessRunning() = default;

    // Runs the child described by `spec` to its end and returns its exit code
    // (whatever it is) and the whole output of both streams. Blocks; throws
    // ProcessError: `spawnFailed` when the child did not start, `timedOut`
    // when its time limit passed, `cancelled` when `stop` fired.
    virtual ProcessResult run(const ProcessSpec& spec, std::stop_token stop) = 0;
};

}  // namespace tarv::core
