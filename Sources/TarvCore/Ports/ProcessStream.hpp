#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stop_token>

#include "TarvCore/Models/ProcessResult.hpp"

namespace tarv::core {

// A running child whose standard output is read a piece at a time, for as
// long as its reader likes (a kept-open `git log`). The child writes until
// its output pipe is full and then waits there: nothing is read ahead of the
// reader beyond the pipe. One reader at a time; not safe for concurrent use.
//
// Destroying the stream ends the child wherever it is (its whole process
// group) and reaps it; a stream never leaves a process behind.
class ProcessStream {
public:
    virtual ~ProcessStream() = default;

    // Reads at most `buffer.size()` bytes of standard output into `buffer`
    // and returns how many arrived; 0 at the end of the output. Blocks until
    // some bytes arrive. Throws ProcessError: `cancelled` when `stop` fires
    // first (the child is left as it was, so the stream stays usable);
    // `timedOut` when nothing arrived within the request's time limit (the
    // child is then killed: the stream is finished).
    virtual std::size_t read(std::span<std::uint8_t> buffer, std::stop_token stop) = 0;

    // Once `read` has returned 0: waits for the child to end and returns its
    // exit code and (the start of) its standard error; `stdout` is empty.
    // Throws ProcessError as `read` does.
    virtual ProcessResult finish(std::stop_token stop) = 0;
};

}  // namespace tarv::core
