#include "TarvSystem/Process/PosixProcessRunner.hpp"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvSystem/Process/ChildProcess.hpp"
#include "TarvSystem/Process/Descriptor.hpp"
#include "TarvSystem/Process/ExitStatus.hpp"
#include "TarvSystem/Process/PosixProcessStream.hpp"
#include "TarvSystem/Process/ProcessOutputBuffer.hpp"

namespace tarv::system {

namespace {

using Clock = child::Clock;
using std::chrono::milliseconds;
using child::hasExited;
using child::reap;

// Longest single wait of the loop: bounds how late a stop request or the
// fallback exit check is noticed.
constexpr milliseconds kPollSlice{50};
// How long output is still read after the child itself has ended, for
// programs it left behind that still hold the pipes.
constexpr milliseconds kOutputGraceAfterExit{200};
constexpr std::size_t kScratchSize = 65536;
// Pipes that carry a lot of output are widened to this, once they have
// carried `ProcessOutputBuffer::largeThreshold` bytes: fewer wake-ups.
constexpr int kWidePipe = 1 << 20;

// Shared between the running call and the stop callback, which may run on
// another thread at any time.
struct RunHandle {
    std::mutex mutex;
    pid_t pid = 0;  // the child, while it may still be signalled (not yet reaped)
    bool cancelled = false;

    bool isCancelled() {
        std::lock_guard lock(mutex);
        return cancelled;
    }
    // Signals the child's group unless the child has been reaped already (the
    // pid could then belong to someone else).
    void signalGroup(int signal) {
        std::lock_guard lock(mutex);
        if (pid > 0) ::kill(-pid, signal);
    }
};

// write(2) to a pipe whose reader may be gone, without SIGPIPE ending this
// process whatever the signal's disposition is: the signal is blocked on this
// thread for the call, and one the write raised is taken back before it is
// unblocked. errno is kept from the write.
ssize_t writeWithoutSigpipe(int fd, const void* data, std::size_t size) {
    sigset_t pipeOnly;
    ::sigemptyset(&pipeOnly);
    ::sigaddset(&pipeOnly, SIGPIPE);
    sigset_t previous;
    ::pthread_sigmask(SIG_BLOCK, &pipeOnly, &previous);
    sigset_t pending;
    ::sigpending(&pending);
    const bool alreadyPending = ::sigismember(&pending, SIGPIPE) == 1;
    const ssize_t written = ::write(fd, data, size);
    const int writeError = errno;
    if (written < 0 && writeError == EPIPE && !alreadyPending) {
        const timespec noWait{};
        while (::sigtimedwait(&pipeOnly, nullptr, &noWait) < 0 && errno == EINTR) {
        }
    }
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    errno = writeError;
    return written;
}

enum class Ending { finished, timedOut, cancelled };

struct OutputStream {
    Descriptor fd;
    ProcessOutputBuffer bytes;
    bool widened = false;

    // One read; closes the stream at end of file or on an error.
    void readOnce(std::span<std::uint8_t> scratch) {
        const ssize_t n = bytes.readFrom(fd.get(), scratch);
        if (n > 0) {
            if (!widened && bytes.size() >= ProcessOutputBuffer::largeThreshold) {
                widened = true;
                ::fcntl(fd.get(), F_SETPIPE_SZ, kWidePipe);  // a hint: failure changes nothing
            }
            return;
        }
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
        fd.reset();
    }
};

struct InputStream {
    Descriptor fd;
    std::span<const std::uint8_t> bytes;
    std::size_t offset = 0;

    void writeOnce() {
        const ssize_t n = writeWithoutSigpipe(fd.get(), bytes.data() + offset, bytes.size() - offset);
        if (n > 0) {
            offset += std::size_t(n);
            if (offset == bytes.size()) fd.reset();  // end of input for the child
            return;
        }
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
        fd.reset();  // the child stopped reading; what it did not take is dropped
    }
};

}  // namespace

std::unique_ptr<core::ProcessStream> PosixProcessRunner::start(const core::ProcessSpec& spec) {
    return std::make_unique<PosixProcessStream>(spec);
}

core::ProcessResult PosixProcessRunner::run(const core::ProcessSpec& spec, std::stop_token stop) {
    RunHandle handle;
    std::stop_callback onStop(stop, [&handle] {
        std::lock_guard lock(handle.mutex);
        handle.cancelled = true;
        if (handle.pid > 0) ::kill(-handle.pid, SIGTERM);
    });
    // A request cancelled before it starts starts nothing: a child spawned
    // and signalled at once may still run to its end on a busy machine (a
    // git write done, yet reported as cancelled).
    if (handle.isCancelled()) throw core::ProcessError::cancelled();

    child::Spawned spawned = child::spawn(spec, spec.stdin.has_value(), stop);
    const pid_t pid = spawned.pid;
    OutputStream out;
    OutputStream err;
    InputStream in;
    out.fd = std::move(spawned.out);
    err.fd = std::move(spawned.err);
    in.fd = std::move(spawned.in);

    {
        std::lock_guard lock(handle.mutex);
        handle.pid = pid;
        if (handle.cancelled) ::kill(-pid, SIGTERM);
    }
    const Descriptor pidfd = child::openPidfd(pid);

    Ending ending = Ending::finished;
    try {
        if (in.fd) {
            in.bytes = std::span<const std::uint8_t>(spec.stdin->data(), spec.stdin->size());
            if (in.bytes.empty())
                in.fd.reset();
            else
                ::fcntl(in.fd.get(), F_SETFL, ::fcntl(in.fd.get(), F_GETFL) | O_NONBLOCK);
        }
        // Left unfilled: read() writes what it returns, and zeroing 64 KiB
        // of fresh pages for every git run cost more than a short run itself.
        const auto scratchBytes = std::make_unique_for_overwrite<std::uint8_t[]>(kScratchSize);
        const std::span<std::uint8_t> scratch(scratchBytes.get(), kScratchSize);
        const auto deadline = child::deadlineFor(spec.timeout, Clock::now());
        bool childGone = false;
        bool pollBroken = false;
        Clock::time_point goneAt{};

        for (;;) {
            if (handle.isCancelled()) {
                ending = Ending::cancelled;
                break;
            }
            auto now = Clock::now();
            if (!childGone && (!pidfd || pollBroken) && hasExited(pid)) {
                childGone = true;
                goneAt = now;
            }
            const bool pipesOpen = out.fd || err.fd || in.fd;
            if (childGone &&
                (!pipesOpen || now >= goneAt + kOutputGraceAfterExit || (deadline && now >= *deadline)))
                break;
            if (deadline && now >= *deadline) {
                handle.signalGroup(SIGKILL);
                ending = Ending::timedOut;
                break;
            }

            auto wait = Clock::duration(kPollSlice);
            if (deadline) wait = std::min(wait, *deadline - now);
            if (childGone) wait = std::min(wait, goneAt + kOutputGraceAfterExit - now);
            const int waitMs = static_cast<int>(std::max<std::int64_t>(0, std::chrono::ceil<milliseconds>(wait).count()));

            pollfd entries[4];
            nfds_t count = 0;
            int outIndex = -1, errIndex = -1, inIndex = -1, pidIndex = -1;
            if (!pollBroken) {
                if (out.fd) outIndex = int(count), entries[count++] = {out.fd.get(), POLLIN, 0};
                if (err.fd) errIndex = int(count), entries[count++] = {err.fd.get(), POLLIN, 0};
                if (in.fd) inIndex = int(count), entries[count++] = {in.fd.get(), POLLOUT, 0};
                if (pidfd && !childGone) pidIndex = int(count), entries[count++] = {pidfd.get(), POLLIN, 0};
            }
            if (count == 0) {
                // Nothing to poll (no pidfd, or poll itself failed): check back
                // soon, sooner at first since the child is usually just ending.
                std::this_thread::sleep_for(std::min(wait, Clock::duration(milliseconds(pollBroken ? 10 : 1))));
                continue;
            }
            const int ready = ::poll(entries, count, waitMs);
            if (ready < 0) {
                if (errno == EINTR) continue;
                // Stop reading, as at end of file; keep waiting for the child.
                pollBroken = true;
                out.fd.reset();
                err.fd.reset();
                in.fd.reset();
                continue;
            }
            if (ready == 0) continue;
            if (outIndex >= 0 && entries[outIndex].revents != 0) out.readOnce(scratch);
            if (errIndex >= 0 && entries[errIndex].revents != 0) err.readOnce(scratch);
            if (inIndex >= 0 && entries[inIndex].revents != 0) in.writeOnce();
            if (pidIndex >= 0 && entries[pidIndex].revents != 0) {
                childGone = true;
                goneAt = Clock::now();
            }
        }

        out.fd.reset();
        err.fd.reset();
        in.fd.reset();
        if (ending == Ending::cancelled && !child::waitForExit(pid, pidfd, Clock::now() + child::terminationGrace))
            handle.signalGroup(SIGKILL);
    } catch (...) {
        handle.signalGroup(SIGKILL);
        {
            std::lock_guard lock(handle.mutex);
            handle.pid = 0;
        }
        reap(pid);
        throw;
    }

    {
        std::lock_guard lock(handle.mutex);
        handle.pid = 0;  // about to be reaped: never signal this pid again
    }
    const int status = reap(pid);

    if (handle.isCancelled()) throw core::ProcessError::cancelled();
    if (ending == Ending::timedOut) throw core::ProcessError::timedOut();
    core::ProcessResult result{decodeExitStatus(status)};
    result.stdout = out.bytes.take();
    result.stderr = err.bytes.take();
    return result;
}

}  // namespace tarv::system
