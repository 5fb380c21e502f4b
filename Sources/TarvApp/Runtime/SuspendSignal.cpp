#include "TarvApp/Runtime/SuspendSignal.hpp"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace tarv::app {
namespace {

std::atomic<int> signalWrite{-1};
struct sigaction previousAction {};

extern "C" void forwardSuspend(int) {
    const int saved = errno;
    const int fd = signalWrite.load();
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
    }
    errno = saved;
}

}  // namespace

SuspendSignal::~SuspendSignal() {
    uninstall();
    if (read_ >= 0) close(read_);
    if (write_ >= 0) close(write_);
}

void SuspendSignal::install() {
    if (installed_) return;
    if (read_ < 0) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
        read_ = fds[0];
        write_ = fds[1];
    }
    signalWrite.store(write_);
    struct sigaction action {};
    action.sa_handler = forwardSuspend;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTSTP, &action, &previousAction);
    installed_ = true;
}

void SuspendSignal::uninstall() {
    if (!installed_) return;
    sigaction(SIGTSTP, &previousAction, nullptr);
    signalWrite.store(-1);
    installed_ = false;
}

bool SuspendSignal::take() {
    if (read_ < 0) return false;
    bool any = false;
    char buffer[64];
    while (::read(read_, buffer, sizeof buffer) > 0) any = true;
    return any;
}

}  // namespace tarv::app
