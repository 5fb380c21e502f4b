#include "TarvSystem/Process/PosixProcessStream.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvSystem/Process/ChildProcess.hpp"
#include "TarvSystem/Process/ExitStatus.hpp"

namespace tarv::system {

namespace {

using std::chrono::milliseconds;

// Longest single wait: bounds how late a stop request is noticed.
constexpr milliseconds kPollSlice{50};

void setNonBlocking(const Descriptor& fd) {
    if (fd) ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) | O_NONBLOCK);
}

}  // namespace

PosixProcessStream::PosixProcessStream(const core::ProcessSpec& spec) : timeout_(spec.timeout) {
    if (spec.stdin) throw core::ProcessError::spawnFailed(EINVAL);
    child::Spawned spawned = child::spawn(spec, false);
    pid_ = spawned.pid;
    out_ = std::move(spawned.out);
    err_ = std::move(spawned.err);
    setNonBlocking(out_);
    setNonBlocking(err_);
    pidfd_ = child::openPidfd(pid_);
}

PosixProcessStream::~PosixProcessStream() {
    if (reaped_) return;
    out_.reset();
    err_.reset();
    ::kill(-pid_, SIGTERM);
    if (!child::waitForExit(pid_, pidfd_, Clock::now() + child::terminationGrace)) ::kill(-pid_, SIGKILL);
    child::reap(pid_);
}

std::size_t PosixProcessStream::read(std::span<std::uint8_t> buffer, std::stop_token stop) {
    if (buffer.empty()) return 0;
    for (;;) {
        if (!out_) return 0;
        const ssize_t n = ::read(out_.get(), buffer.data(), buffer.size());
        if (n > 0) return std::size_t(n);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) {
            wait(Until::outputReadable, stop);
            continue;
        }
        out_.reset();  // end of output (or a read error, taken as its end)
        return 0;
    }
}

core::ProcessResult PosixProcessStream::finish(std::stop_token stop) {
    out_.reset();
    if (!reaped_) {
        wait(Until::exited, stop);
        readStderr();  // what the child wrote last, without waiting
        err_.reset();
        reapNow();
    }
    core::ProcessResult result{decodeExitStatus(status_)};
    result.stderr = stderr_;
    return result;
}

void PosixProcessStream::wait(Until until, std::stop_token stop) {
    const auto deadline = child::deadlineFor(timeout_, Clock::now());
    for (;;) {
        if (stop.stop_requested()) throw core::ProcessError::cancelled();
        const auto now = Clock::now();
        if (deadline && now >= *deadline) killForTimeout();
        if (until == Until::exited && child::hasExited(pid_)) return;

        auto slice = Clock::duration(kPollSlice);
        if (deadline) slice = std::min(slice, *deadline - now);
        const int waitMs = static_cast<int>(std::max<std::int64_t>(0, std::chrono::ceil<milliseconds>(slice).count()));

        pollfd entries[3];
        nfds_t count = 0;
        int outIndex = -1, errIndex = -1;
        if (until == Until::outputReadable && out_) outIndex = int(count), entries[count++] = {out_.get(), POLLIN, 0};
        if (err_) errIndex = int(count), entries[count++] = {err_.get(), POLLIN, 0};
        if (until == Until::exited && pidfd_) entries[count++] = {pidfd_.get(), POLLIN, 0};
        if (until == Until::outputReadable && outIndex < 0) return;
        if (count == 0) {
            // Waiting for the end without a pidfd and with nothing to read.
            std::this_thread::sleep_for(std::min(slice, Clock::duration(milliseconds(5))));
            continue;
        }
        const int ready = ::poll(entries, count, waitMs);
        if (ready < 0 && errno != EINTR) {
            std::this_thread::sleep_for(std::min(slice, Clock::duration(milliseconds(5))));
            continue;
        }
        if (ready <= 0) continue;
        if (errIndex >= 0 && entries[errIndex].revents != 0) readStderr();
        if (outIndex >= 0 && entries[outIndex].revents != 0) return;
    }
}

void PosixProcessStream::readStderr() {
    std::uint8_t chunk[4096];
    while (err_) {
        const ssize_t n = ::read(err_.get(), chunk, sizeof chunk);
        if (n > 0) {
            const std::size_t keep = std::min(std::size_t(n), stderrLimit - std::min(stderrLimit, stderr_.size()));
            stderr_.insert(stderr_.end(), chunk, chunk + keep);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) return;
        err_.reset();
    }
}

void PosixProcessStream::killForTimeout() {
    out_.reset();
    err_.reset();
    ::kill(-pid_, SIGKILL);
    reapNow();
    throw core::ProcessError::timedOut();
}

void PosixProcessStream::reapNow() {
    status_ = child::reap(pid_);
    reaped_ = true;
}

}  // namespace tarv::system
