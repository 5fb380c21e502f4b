#pragma once

#include <memory>
#include <stop_token>

#include "TarvCore/Models/ProcessResult.hpp"
#include "TarvCore/Models/ProcessSpec.hpp"
#include "TarvCore/Ports/ProcessRunning.hpp"
#include "TarvCore/Ports/ProcessStreaming.hpp"

namespace tarv::system {

// Runs child processes for the rest of the system (git, the secret tool, the
// clipboard tool...). Each child gets a session and process group of its own,
// standard input from the request's bytes or /dev/null, and its standard output
// and error collected through pipes; all three pipes are served by one poll
// loop on the calling thread, so no stream can block another.
//
// - The time limit bounds the whole run on the monotonic clock: when it
//   passes, the child's group gets SIGKILL and the run throws `timedOut`.
// - Once the child itself has ended, output still arriving from programs it
//   left behind holding the pipes is read for a short grace only; those
//   programs are left alone.
// - A stop request sends SIGTERM to the group; a group that is still there two
//   seconds later gets SIGKILL. The run then throws `cancelled`, which wins
//   over `timedOut`.
// - Failing to start (no such program, no such working directory) throws
//   `spawnFailed` with the error number and leaves no descriptor open.
// - The child is always reaped; feeding a child that stopped reading never
//   raises SIGPIPE in this process, whatever its signal disposition.
//
// It also starts children that are read incrementally (PosixProcessStream),
// started the same way.
class PosixProcessRunner final : public core::ProcessRunning, public core::ProcessStreaming {
public:
    PosixProcessRunner() = default;

    core::ProcessResult run(const core::ProcessSpec& spec, std::stop_token stop) override;
    std::unique_ptr<core::ProcessStream> start(const core::ProcessSpec& spec) override;
};

}  // namespace tarv::system
