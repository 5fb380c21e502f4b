#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <stop_token>

#include "TarvCore/Models/ProcessSpec.hpp"
#include "TarvSystem/Process/Descriptor.hpp"

// What the process runner and its streams share: starting a child the one
// way this program does, and waiting for it without losing track of it.
namespace tarv::system::child {

using Clock = std::chrono::steady_clock;

// A child just started: its own session and process group (whose id is
// `pid`), every signal at its default action, no descriptor of this process
// but its standard streams. `out` and `err` are the read ends of its output
// pipes; `in` the write end of its input pipe, when it was given one (else
// its input is /dev/null). All three are close-on-exec.
struct Spawned {
    pid_t pid = 0;
    Descriptor out;
    Descriptor err;
    Descriptor in;
};

// Starts the child `spec` describes. `spec.stdin` is not written here;
// `inputPipe` only says whether the child reads a pipe. Throws
// ProcessError::spawnFailed (EINVAL for a NUL byte in any string of the
// request, which would silently cut it short); nothing is left open then. A
// `stop` already requested starts nothing and throws ProcessError::cancelled.
//
// Any number of threads may spawn at once, none waits for another: every
// descriptor this makes is close-on-exec from the start and the child closes
// all but its standard three before it runs, so no child can hold another's
// pipe (which would keep that pipe from ever reaching end of file).
Spawned spawn(const core::ProcessSpec& spec, bool inputPipe, std::stop_token stop = {});

// When a run that starts at `start` must have ended; none without a limit
// (also for limits beyond a century, which would overflow the clock).
std::optional<Clock::time_point> deadlineFor(const std::optional<std::chrono::milliseconds>& timeout,
                                             Clock::time_point start);

// A descriptor that becomes readable when the child ends (pidfd); none where
// the kernel has none.
Descriptor openPidfd(pid_t pid);

// Whether the child has ended, without reaping it: the pid stays reserved
// (and its group signalable) until `reap`.
bool hasExited(pid_t pid);

// Waits until the child has ended (without reaping it) or `until` passes;
// whether it ended.
bool waitForExit(pid_t pid, const Descriptor& pidfd, Clock::time_point until);

// Waits for the child and collects it; its wait status.
int reap(pid_t pid);

// How long a child asked to stop has between SIGTERM and SIGKILL.
inline constexpr std::chrono::milliseconds terminationGrace{2000};

}  // namespace tarv::system::child
