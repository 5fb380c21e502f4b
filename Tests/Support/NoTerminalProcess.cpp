#include "Support/NoTerminalProcess.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace tarv::testing {

NoTerminalOutcome runWithoutTerminal(const std::function<int()>& body) {
    NoTerminalOutcome outcome;
    int in[2];
    int out[2];
    if (::pipe(in) != 0) return outcome;
    if (::pipe(out) != 0) {
        ::close(in[0]);
        ::close(in[1]);
        return outcome;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::close(out[0]);
        int code = 4;
        try {
            code = body();
        } catch (...) {
            code = 5;
        }
        ::_exit(code);
    }
    ::close(in[0]);
    ::close(out[1]);
    if (pid > 0) {
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(out[0], buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            outcome.output.append(buffer, static_cast<std::size_t>(n));
        }
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
        if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
    }
    ::close(in[1]);
    ::close(out[0]);
    return outcome;
}

}  // namespace tarv::testing
