#include "TarvSystem/Process/PosixProcessRunner.hpp"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvSystem/Process/CStringArray.hpp"
#include "TarvSystem/Process/Descriptor.hpp"
#include "TarvSystem/Process/ExitStatus.hpp"
#include "TarvSystem/Process/ProcessOutputBuffer.hpp"
#include "TarvSystem/Process/SpawnAttributes.hpp"

extern char** environ;

namespace tarv::system {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Longest single wait of the loop: bounds how late a stop request or the
// fallback exit check is noticed.
constexpr milliseconds kPollSlice{50};
// How long output is still read after the child itself has ended, for
// programs it left behind that still hold the pipes.
constexpr milliseconds kOutputGraceAfterExit{200};
// How long a stopped child's group has between SIGTERM and SIGKILL.
constexpr milliseconds kTerminationGrace{2000};
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

[[noreturn]] void throwSpawnFailed(int error) { throw core::ProcessError::spawnFailed(error); }

bool containsNul(std::string_view s) { return s.find('\0') != std::string_view::npos; }

// The child's environment as "key=value" strings.
std::vector<std::string> makeEnvironment(const core::ProcessSpec& spec) {
    std::map<std::string, std::string> variables;
    if (spec.inheritEnvironment) {
        for (char** entry = environ; entry && *entry; ++entry) {
            std::string_view text(*entry);
            const auto equals = text.find('=');
            if (equals == std::string_view::npos) continue;
            // The first entry of a name wins, as getenv sees it.
            variables.emplace(std::string(text.substr(0, equals)), std::string(text.substr(equals + 1)));
        }
    }
    for (const auto& [key, value] : spec.environment) variables[key] = value;
    std::vector<std::string> strings;
    strings.reserve(variables.size());
    for (const auto& [key, value] : variables) strings.push_back(key + "=" + value);
    return strings;
}

// Makes a pipe whose ends are close-on-exec and above the standard descriptors
// (even when this process runs with 0, 1 or 2 closed), so that the child's
// moves onto 0, 1 and 2 can never overwrite one another. Returns 0 or errno.
int makePipe(Descriptor& readEnd, Descriptor& writeEnd) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return errno;
    readEnd.reset(fds[0]);
    writeEnd.reset(fds[1]);
    for (Descriptor* end : {&readEnd, &writeEnd}) {
        if (end->get() >= 3) continue;
        const int moved = ::fcntl(end->get(), F_DUPFD_CLOEXEC, 3);
        if (moved < 0) return errno;
        end->reset(moved);
    }
    return 0;
}

class FileActions {
public:
    FileActions() { error_ = ::posix_spawn_file_actions_init(&actions_); initialised_ = error_ == 0; }
    ~FileActions() {
        if (initialised_) ::posix_spawn_file_actions_destroy(&actions_);
    }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;

    void dup2(int from, int to) { add(::posix_spawn_file_actions_adddup2(&actions_, from, to)); }
    void openReadOnly(int fd, const char* path) { add(::posix_spawn_file_actions_addopen(&actions_, fd, path, O_RDONLY, 0)); }
    void closeFrom(int fd) { add(::posix_spawn_file_actions_addclosefrom_np(&actions_, fd)); }
    void chdir(const char* path) { add(::posix_spawn_file_actions_addchdir_np(&actions_, path)); }

    int error() const noexcept { return error_; }
    const posix_spawn_file_actions_t* get() const noexcept { return &actions_; }

private:
    void add(int result) {
        if (error_ == 0) error_ = result;
    }
    posix_spawn_file_actions_t actions_{};
    bool initialised_ = false;
    int error_ = 0;
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

// Whether the child has ended, without reaping it: the pid stays reserved
// (and its group signalable) until the final wait.
bool hasExited(pid_t pid) {
    siginfo_t info{};
    while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
        if (errno != EINTR) return true;  // nothing left to wait for
    }
    return info.si_pid == pid;
}

// Waits until the child has ended (without reaping it) or `until` passes.
bool waitForExit(pid_t pid, const Descriptor& pidfd, Clock::time_point until) {
    for (;;) {
        if (hasExited(pid)) return true;
        const auto now = Clock::now();
        if (now >= until) return false;
        const auto left = std::chrono::ceil<milliseconds>(until - now);
        if (pidfd) {
            pollfd entry{pidfd.get(), POLLIN, 0};
            ::poll(&entry, 1, static_cast<int>(left.count()));
        } else {
            std::this_thread::sleep_for(std::min(left, milliseconds(10)));
        }
    }
}

int reap(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

Descriptor openPidfd(pid_t pid) {
#ifdef SYS_pidfd_open
    return Descriptor(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
#else
    (void)pid;
    return Descriptor();
#endif
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

std::optional<Clock::time_point> deadlineFor(const core::ProcessSpec& spec, Clock::time_point start) {
    if (!spec.timeout) return std::nullopt;
    // Beyond a century is no limit at all (and would overflow the clock).
    constexpr auto kFarAway = std::chrono::hours(24 * 365 * 100);
    if (*spec.timeout >= kFarAway) return std::nullopt;
    return start + std::chrono::duration_cast<Clock::duration>(*spec.timeout);
}

}  // namespace

std::mutex& PosixProcessRunner::spawnLock() {
    static std::mutex lock;
    return lock;
}

core::ProcessResult PosixProcessRunner::run(const core::ProcessSpec& spec, std::stop_token stop) {
    // A NUL byte would silently cut an argument short: refuse instead.
    if (containsNul(spec.executable) || std::ranges::any_of(spec.arguments, containsNul) ||
        (spec.currentDirectory && containsNul(*spec.currentDirectory)) ||
        std::ranges::any_of(spec.environment,
                            [](const auto& entry) { return containsNul(entry.first) || containsNul(entry.second); }))
        throwSpawnFailed(EINVAL);

    RunHandle handle;
    std::stop_callback onStop(stop, [&handle] {
        std::lock_guard lock(handle.mutex);
        handle.cancelled = true;
        if (handle.pid > 0) ::kill(-handle.pid, SIGTERM);
    });

    std::vector<std::string> argumentStrings;
    argumentStrings.reserve(spec.arguments.size() + 1);
    argumentStrings.push_back(spec.executable);
    argumentStrings.insert(argumentStrings.end(), spec.arguments.begin(), spec.arguments.end());
    const CStringArray argv(std::move(argumentStrings));
    const SpawnAttributes attributes(POSIX_SPAWN_SETSID);
    if (attributes.error() != 0) throwSpawnFailed(attributes.error());

    OutputStream out;
    OutputStream err;
    InputStream in;
    pid_t pid = 0;
    {
        Descriptor outWrite;
        Descriptor errWrite;
        Descriptor inRead;
        int spawnError = 0;
        {
            std::lock_guard lock(spawnLock());
            const CStringArray envp(makeEnvironment(spec));
            spawnError = makePipe(out.fd, outWrite);
            if (spawnError == 0) spawnError = makePipe(err.fd, errWrite);
            if (spawnError == 0 && spec.stdin) spawnError = makePipe(inRead, in.fd);
            if (spawnError == 0) {
                FileActions actions;
                if (spec.stdin)
                    actions.dup2(inRead.get(), 0);
                else
                    actions.openReadOnly(0, "/dev/null");
                actions.dup2(outWrite.get(), 1);
                actions.dup2(errWrite.get(), 2);
                actions.closeFrom(3);
                if (spec.currentDirectory) actions.chdir(spec.currentDirectory->c_str());
                spawnError = actions.error();
                if (spawnError == 0) {
                    const bool isPath = spec.executable.find('/') != std::string::npos;
                    spawnError = isPath ? ::posix_spawn(&pid, spec.executable.c_str(), actions.get(), attributes.get(),
                                                        argv.get(), envp.get())
                                        : ::posix_spawnp(&pid, spec.executable.c_str(), actions.get(),
                                                         attributes.get(), argv.get(), envp.get());
                }
            }
        }
        // The child's ends close here; on failure the parent's ends close as
        // `out`, `err` and `in` go away.
        if (spawnError != 0) throwSpawnFailed(spawnError);
    }

    {
        std::lock_guard lock(handle.mutex);
        handle.pid = pid;
        if (handle.cancelled) ::kill(-pid, SIGTERM);
    }
    const Descriptor pidfd = openPidfd(pid);

    Ending ending = Ending::finished;
    try {
        if (in.fd) {
            in.bytes = std::span<const std::uint8_t>(spec.stdin->data(), spec.stdin->size());
            if (in.bytes.empty())
                in.fd.reset();
            else
                ::fcntl(in.fd.get(), F_SETFL, ::fcntl(in.fd.get(), F_GETFL) | O_NONBLOCK);
        }
        std::vector<std::uint8_t> scratch(kScratchSize);
        const auto deadline = deadlineFor(spec, Clock::now());
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
        if (ending == Ending::cancelled && !waitForExit(pid, pidfd, Clock::now() + kTerminationGrace))
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
