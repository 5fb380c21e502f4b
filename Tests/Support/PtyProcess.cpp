#include "Support/PtyProcess.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <thread>

#include "Support/SessionProcesses.hpp"

namespace tarv::testing {
namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

}  // namespace

void report(int fd, std::string_view line) {
    std::string text(line);
    text.push_back('\n');
    std::string_view rest = text;
    while (!rest.empty()) {
        const ssize_t n = ::write(fd, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
}

PtyProcess PtyProcess::run(const std::function<int(int report)>& body, unsigned short columns,
                           unsigned short rows) {
    int reportPipe[2];
    if (pipe2(reportPipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    winsize size{};
    size.ws_col = columns;
    size.ws_row = rows;
    PtyProcess process;
    const pid_t pid = forkpty(&process.master_, nullptr, nullptr, &size);
    if (pid < 0) throw std::runtime_error("forkpty failed");
    if (pid == 0) {
        close(reportPipe[0]);
        int code = 99;
        try {
            code = body(reportPipe[1]);
        } catch (...) {
            code = 98;
        }
        _exit(code);
    }
    close(reportPipe[1]);
    process.pid_ = pid;
    process.reportRead_ = reportPipe[0];
    fcntl(process.master_, F_SETFL, fcntl(process.master_, F_GETFL) | O_NONBLOCK);
    fcntl(process.reportRead_, F_SETFL, fcntl(process.reportRead_, F_GETFL) | O_NONBLOCK);
    return process;
}

PtyProcess PtyProcess::spawn(const std::vector<std::string>& argv, unsigned short columns, unsigned short rows) {
    return run(
        [argv](int) {
            std::vector<char*> args;
            for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            execv(args[0], args.data());
            return 127;
        },
        columns, rows);
}

PtyProcess::PtyProcess(PtyProcess&& other) noexcept
    : pid_(other.pid_),
      master_(other.master_),
      reportRead_(other.reportRead_),
      reaped_(other.reaped_),
      output_(std::move(other.output_)),
      reportBuffer_(std::move(other.reportBuffer_)),
      reports_(std::move(other.reports_)),
      reportCursor_(other.reportCursor_) {
    other.pid_ = -1;
    other.master_ = -1;
    other.reportRead_ = -1;
}

PtyProcess::~PtyProcess() {
    if (pid_ > 0) {
        // The child leads a session of its own (forkpty), whose id is its
        // process id: its process group goes first, then any other group of
        // that session (whatever it started and moved elsewhere).
        if (!reaped_) kill(-pid_, SIGKILL);
        const auto left = killSession(pid_, std::chrono::seconds(10));
        if (!reaped_) {
            int status = 0;
            while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
        }
        if (!left.empty()) ADD_FAILURE() << "still running after the test, even after SIGKILL: " << describe(left);
    }
    if (master_ >= 0) close(master_);
    if (reportRead_ >= 0) close(reportRead_);
}

void PtyProcess::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(master_, bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
        } else if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
            pollfd p{master_, POLLOUT, 0};
            ::poll(&p, 1, 100);
        } else {
            return;
        }
    }
}

bool PtyProcess::readUntil(const std::function<bool(const std::string&)>& done, std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        if (done(output_)) return true;
        if (master_ < 0 || Clock::now() >= deadline) return false;
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, remainingMs(deadline)) <= 0) continue;
        char buffer[4096];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) {
            output_.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            // The child's side is closed: nothing more will come.
            return done(output_);
        }
    }
}

bool PtyProcess::readUntilContains(std::string_view text, std::chrono::milliseconds timeout) {
    return readUntil([&](const std::string& out) { return out.find(text) != std::string::npos; }, timeout);
}

void PtyProcess::readFor(std::chrono::milliseconds duration) {
    readUntil([](const std::string&) { return false; }, duration);
}

std::optional<std::string> PtyProcess::nextReport(std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        const std::size_t newline = reportBuffer_.find('\n');
        if (newline != std::string::npos) {
            std::string line = reportBuffer_.substr(0, newline);
            reportBuffer_.erase(0, newline + 1);
            reports_.push_back(line);
            return line;
        }
        if (Clock::now() >= deadline) return std::nullopt;
        pollfd p{reportRead_, POLLIN, 0};
        if (::poll(&p, 1, remainingMs(deadline)) <= 0) continue;
        char buffer[1024];
        const ssize_t n = ::read(reportRead_, buffer, sizeof buffer);
        if (n > 0) {
            reportBuffer_.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            return std::nullopt;
        }
    }
}

bool PtyProcess::waitForReport(std::string_view line, std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        const auto next = nextReport(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()));
        if (!next) return false;
        if (*next == line) return true;
    }
    return false;
}

std::optional<int> PtyProcess::wait(std::chrono::milliseconds timeout, bool stops) {
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t r = waitpid(pid_, &status, WNOHANG | (stops ? WUNTRACED : 0));
        if (r == pid_) {
            if (WIFEXITED(status) || WIFSIGNALED(status)) reaped_ = true;
            return status;
        }
        if (r < 0 && errno != EINTR) return std::nullopt;
        if (Clock::now() >= deadline) return std::nullopt;
        // Keep the terminal drained so that a child writing to it never
        // blocks while the test waits.
        readFor(std::chrono::milliseconds(5));
    }
}

termios PtyProcess::attributes() const {
    termios t{};
    tcgetattr(master_, &t);
    return t;
}

void PtyProcess::resize(unsigned short columns, unsigned short rows) {
    winsize size{};
    size.ws_col = columns;
    size.ws_row = rows;
    ioctl(master_, TIOCSWINSZ, &size);
}

void PtyProcess::hangUp() {
    if (master_ >= 0) close(master_);
    master_ = -1;
}

}  // namespace tarv::testing
