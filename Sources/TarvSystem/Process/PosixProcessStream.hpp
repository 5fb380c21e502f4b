#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stop_token>
#include <vector>

#include "TarvCore/Models/ProcessResult.hpp"
#include "TarvCore/Models/ProcessSpec.hpp"
#include "TarvCore/Ports/ProcessStream.hpp"
#include "TarvSystem/Process/Descriptor.hpp"

namespace tarv::system {

// A child started like every child of the process runner (own session and
// process group, standard input /dev/null, close-on-exec pipes) whose
// standard output is read as the reader asks for it.
//
// - Between reads nobody reads the pipe: once it is full the child waits in
//   its write, for as long as the stream lives. No time limit applies then.
// - Each `read` or `finish` that has to wait is bounded by the request's
//   time limit: when it passes, the child's group gets SIGKILL, the child is
//   reaped and the call throws `timedOut`.
// - A stop request ends the waiting call with `cancelled` and leaves the
//   child alone, so that a later call goes on where this one stopped.
// - Standard error is collected while waiting (its first 64 KiB are kept),
//   so a child never blocks on it.
// - Destruction closes the pipes (a child still writing gets SIGPIPE), sends
//   SIGTERM to the group, SIGKILL two seconds later if it is still there,
//   and reaps the child. Reading and destroying are not safe at the same
//   time; one owner at a time.
class PosixProcessStream final : public core::ProcessStream {
public:
    // The first bytes of standard error that are kept.
    static constexpr std::size_t stderrLimit = 64 * 1024;

    // Starts the child; throws ProcessError::spawnFailed (also EINVAL for a
    // request that has standard input bytes).
    explicit PosixProcessStream(const core::ProcessSpec& spec);
    ~PosixProcessStream() override;
    PosixProcessStream(const PosixProcessStream&) = delete;
    PosixProcessStream& operator=(const PosixProcessStream&) = delete;

    std::size_t read(std::span<std::uint8_t> buffer, std::stop_token stop) override;
    core::ProcessResult finish(std::stop_token stop) override;

    // The child's process id (also its process group's), until it is reaped.
    pid_t pid() const noexcept { return reaped_ ? 0 : pid_; }

private:
    enum class Until { outputReadable, exited };
    using Clock = std::chrono::steady_clock;

    // Waits, collecting standard error, until `until` holds. Throws as
    // `read` does.
    void wait(Until until, std::stop_token stop);
    void readStderr();
    [[noreturn]] void killForTimeout();
    void reapNow();

    pid_t pid_ = 0;
    Descriptor out_;
    Descriptor err_;
    Descriptor pidfd_;
    std::optional<std::chrono::milliseconds> timeout_;
    std::vector<std::uint8_t> stderr_;
    bool reaped_ = false;
    int status_ = 0;
};

}  // namespace tarv::system
