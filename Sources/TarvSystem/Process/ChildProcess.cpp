#include "TarvSystem/Process/ChildProcess.hpp"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvSystem/Process/CStringArray.hpp"
#include "TarvSystem/Process/SpawnAttributes.hpp"

extern char** environ;

namespace tarv::system::child {

namespace {

using std::chrono::milliseconds;

[[noreturn]] void throwSpawnFailed(int error) { throw core::ProcessError::spawnFailed(error); }

bool containsNul(std::string_view s) { return s.find('\0') != std::string_view::npos; }

bool hasNulByte(const core::ProcessSpec& spec) {
    return containsNul(spec.executable) || std::ranges::any_of(spec.arguments, containsNul) ||
           (spec.currentDirectory && containsNul(*spec.currentDirectory)) ||
           std::ranges::any_of(spec.environment,
                               [](const auto& entry) { return containsNul(entry.first) || containsNul(entry.second); });
}

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
    for (const auto& name : spec.clearedVariables) variables.erase(name);
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

}  // namespace

Spawned spawn(const core::ProcessSpec& spec, bool inputPipe, std::stop_token stop) {
    if (hasNulByte(spec)) throwSpawnFailed(EINVAL);

    std::vector<std::string> argumentStrings;
    argumentStrings.reserve(spec.arguments.size() + 1);
    argumentStrings.push_back(spec.executable);
    argumentStrings.insert(argumentStrings.end(), spec.arguments.begin(), spec.arguments.end());
    const CStringArray argv(std::move(argumentStrings));
    const SpawnAttributes attributes(POSIX_SPAWN_SETSID);
    if (attributes.error() != 0) throwSpawnFailed(attributes.error());

    Spawned child;
    Descriptor outWrite;
    Descriptor errWrite;
    Descriptor inRead;
    if (stop.stop_requested()) throw core::ProcessError::cancelled();
    const CStringArray envp(makeEnvironment(spec));
    int spawnError = makePipe(child.out, outWrite);
    if (spawnError == 0) spawnError = makePipe(child.err, errWrite);
    if (spawnError == 0 && inputPipe) spawnError = makePipe(inRead, child.in);
    if (spawnError == 0) {
        FileActions actions;
        if (inputPipe)
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
            spawnError = isPath ? ::posix_spawn(&child.pid, spec.executable.c_str(), actions.get(),
                                                attributes.get(), argv.get(), envp.get())
                                : ::posix_spawnp(&child.pid, spec.executable.c_str(), actions.get(),
                                                 attributes.get(), argv.get(), envp.get());
        }
    }
    // The child's ends close when this returns; on failure the parent's ends
    // close with `child`.
    if (spawnError != 0) throwSpawnFailed(spawnError);
    return child;
}

std::optional<Clock::time_point> deadlineFor(const std::optional<std::chrono::milliseconds>& timeout,
                                             Clock::time_point start) {
    if (!timeout) return std::nullopt;
    // Beyond a century is no limit at all (and would overflow the clock).
    constexpr auto kFarAway = std::chrono::hours(24 * 365 * 100);
    if (*timeout >= kFarAway) return std::nullopt;
    return start + std::chrono::duration_cast<Clock::duration>(*timeout);
}

Descriptor openPidfd(pid_t pid) {
#ifdef SYS_pidfd_open
    return Descriptor(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
#else
    (void)pid;
    return Descriptor();
#endif
}

bool hasExited(pid_t pid) {
    siginfo_t info{};
    while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
        if (errno != EINTR) return true;  // nothing left to wait for
    }
    return info.si_pid == pid;
}

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

}  // namespace tarv::system::child
