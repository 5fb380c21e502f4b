#pragma once

// Helpers for tests that start real child processes.

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace tarv::testing {

// A private temporary folder, removed with everything in it at the end.
class ProcessTempDir {
public:
    ProcessTempDir() {
        const char* base = ::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/tarv-process-test-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~ProcessTempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ProcessTempDir(const ProcessTempDir&) = delete;
    ProcessTempDir& operator=(const ProcessTempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// The descriptors open in this process right now.
inline std::set<int> processOpenDescriptors() {
    std::set<int> fds;
    DIR* dir = ::opendir("/proc/self/fd");
    if (!dir) return fds;
    const int own = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        const int fd = std::atoi(entry->d_name);
        if (fd != own) fds.insert(fd);
    }
    ::closedir(dir);
    return fds;
}

// Descriptors of this process that a child would inherit (not close-on-exec).
inline std::set<int> processInheritableDescriptors() {
    std::set<int> result;
    for (int fd : processOpenDescriptors()) {
        const int flags = ::fcntl(fd, F_GETFD);
        if (flags >= 0 && (flags & FD_CLOEXEC) == 0) result.insert(fd);
    }
    return result;
}

// The whole file, or what could be read of it. Plain read(2): a file under
// /proc whose process ends between the open and the read fails with ESRCH,
// which a stream's buffer turns into an exception.
inline std::string processReadFile(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return {};
    std::string text;
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::read(descriptor, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        text.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(descriptor);
    return text;
}

inline void processWriteFile(const std::string& path, const std::string& content, bool executable = false) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << content;
    }
    if (executable) std::filesystem::permissions(path, std::filesystem::perms(0755));
}

// True once `pid` no longer runs: gone, or a zombie nobody has reaped yet
// (an orphan waiting for init).
inline bool processIsGone(pid_t pid) {
    if (::kill(pid, 0) != 0) return errno == ESRCH;
    // Read with the system calls: the process may end between the open and
    // the read, which then fails with ESRCH (a stream would throw).
    std::string stat;
    const int fd = ::open(("/proc/" + std::to_string(pid) + "/stat").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        char chunk[512];
        for (ssize_t n; (n = ::read(fd, chunk, sizeof chunk)) > 0;) stat.append(chunk, static_cast<std::size_t>(n));
        ::close(fd);
    }
    const auto close = stat.rfind(')');
    return stat.empty() || (close != std::string::npos && close + 2 < stat.size() && stat[close + 2] == 'Z');
}

// Polls `condition` until it holds or `limit` passes; returns its last value.
inline bool processWaitUntil(const std::function<bool()>& condition,
                             std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Sets a signal's disposition for the scope and restores it afterwards.
class ProcessSignalDisposition {
public:
    ProcessSignalDisposition(int signal, void (*handler)(int)) : signal_(signal) {
        struct sigaction action {};
        action.sa_handler = handler;
        ::sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, &previous_);
    }
    ~ProcessSignalDisposition() { ::sigaction(signal_, &previous_, nullptr); }
    ProcessSignalDisposition(const ProcessSignalDisposition&) = delete;
    ProcessSignalDisposition& operator=(const ProcessSignalDisposition&) = delete;

private:
    int signal_;
    struct sigaction previous_ {};
};

// Bytes of a recognisable pattern (not all zero), `size` long.
inline std::vector<std::uint8_t> processPatternBytes(std::size_t size, std::uint32_t seed = 1) {
    std::vector<std::uint8_t> bytes(size);
    std::uint32_t x = seed * 2654435761u + 1;
    for (auto& b : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = static_cast<std::uint8_t>(x);
    }
    return bytes;
}

inline std::vector<std::uint8_t> processBytes(const std::string& text) { return {text.begin(), text.end()}; }

// The context switches of every thread of `pid` so far (voluntary and
// not), read from /proc; -1 when the process is gone.
inline std::int64_t contextSwitches(pid_t pid) {
    std::int64_t total = 0;
    const std::string folder = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return -1;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        std::istringstream status(processReadFile(folder + "/" + entry->d_name + "/status"));
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0 || line.rfind("nonvoluntary_ctxt_switches:", 0) == 0) {
                total += std::stoll(line.substr(line.find(':') + 1));
            }
        }
    }
    ::closedir(dir);
    return total;
}

}  // namespace tarv::testing
