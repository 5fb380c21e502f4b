#include "TarvTerminal/Backend/InputPump.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <iterator>
#include <cerrno>

#include "TarvTerminal/Backend/WindowSize.hpp"

namespace tarv::terminal {
namespace {

constexpr int forwardedSignals[] = {SIGWINCH, SIGTERM, SIGHUP, SIGINT, SIGQUIT};
static_assert(std::size(forwardedSignals) == InputPump::forwardedCount);

// The write end of the signal self-pipe, read by the handlers.
std::atomic<int> signalPipeWrite{-1};

extern "C" void forwardSignal(int signalNumber) {
    const int saved = errno;
    const int fd = signalPipeWrite.load();
    if (fd >= 0) {
        const auto byte = static_cast<unsigned char>(signalNumber);
        [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
    }
    errno = saved;
}

bool makePipe(int& readEnd, int& writeEnd) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    readEnd = fds[0];
    writeEnd = fds[1];
    return true;
}

void closeIfOpen(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

void drain(int fd) {
    char buffer[256];
    while (::read(fd, buffer, sizeof buffer) > 0) {
    }
}

}  // namespace

InputPump::InputPump(std::shared_ptr<InputEventStream> stream, int inputDescriptor, int sizeDescriptor)
    : stream_(std::move(stream)), input_(inputDescriptor), sizeDescriptor_(sizeDescriptor) {}

InputPump::~InputPump() { stop(); }

void InputPump::start() {
    if (started_) return;
    started_ = true;
    makePipe(controlRead_, controlWrite_);
    int signalWrite = -1;
    if (makePipe(signalRead_, signalWrite)) {
        const int previous = signalPipeWrite.exchange(signalWrite);
        if (previous >= 0) close(previous);
    }
    struct sigaction action {};
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < forwardedCount; ++i) sigaction(forwardedSignals[i], &action, &previousActions_[i]);
    thread_ = std::thread([this] { run(); });
}

void InputPump::send(Command command) {
    if (!started_ || stopped_ || !thread_.joinable()) return;
    std::unique_lock lock(mutex_);
    command_ = command;
    const std::uint64_t serial = ++sent_;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(controlWrite_, &byte, 1);
    done_.wait(lock, [&] { return carriedOut_ >= serial; });
}

void InputPump::pause() { send(Command::pause); }

void InputPump::resume() { send(Command::resume); }

void InputPump::stop() {
    if (!started_ || stopped_) return;
    send(Command::stop);
    stopped_ = true;
    if (thread_.joinable()) thread_.join();
    // Signals that arrive from now on take the actions they had before the
    // session, normally their defaults. Leaving them ignored made a program
    // unkillable by its terminal's hangup while it exited: the leak checker
    // stops the world at exit by tracing the process, a SIGCONT that comes
    // with the hangup cancels the tracer's SIGSTOP, and with the hangup
    // ignored nothing ever ended the wait (an orphan spinning at 100% CPU).
    for (std::size_t i = 0; i < forwardedCount; ++i) sigaction(forwardedSignals[i], &previousActions_[i], nullptr);
    const int signalWrite = signalPipeWrite.exchange(-1);
    if (signalWrite >= 0) close(signalWrite);
    closeIfOpen(signalRead_);
    closeIfOpen(controlRead_);
    closeIfOpen(controlWrite_);
    stream_->finish();
}

void InputPump::yieldAll(std::vector<InputEvent>& events) {
    for (InputEvent& e : events) stream_->yield(std::move(e));
    events.clear();
}

void InputPump::handleSignal(int signalNumber) {
    if (signalNumber == SIGWINCH) {
        if (auto size = WindowSize::ofTerminal(sizeDescriptor_, input_)) stream_->yield(InputEvent::resize(*size));
        return;
    }
    if (paused_ && (signalNumber == SIGINT || signalNumber == SIGQUIT)) return;
    stream_->yield(InputEvent::terminate());
}

void InputPump::readInput() {
    char buffer[readSize];
    const ssize_t n = ::read(input_, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) return;
    if (n <= 0) {
        // The end of input, or a terminal that went away: say so once and
        // stop watching it.
        inputEnded_ = true;
        flushScheduled_ = false;
        stream_->yield(InputEvent::terminate());
        return;
    }
    std::vector<InputEvent> events;
    decoder_.feed(std::string_view(buffer, static_cast<std::size_t>(n)), events);
    yieldAll(events);
    flushScheduled_ = decoder_.hasPending();
    if (flushScheduled_) flushAt_ = std::chrono::steady_clock::now() + escapeDelay;
}

void InputPump::run() {
    for (;;) {
        pollfd fds[3];
        nfds_t count = 0;
        fds[count++] = pollfd{controlRead_, POLLIN, 0};
        fds[count++] = pollfd{signalRead_, POLLIN, 0};
        const bool watchInput = !paused_ && !inputEnded_;
        if (watchInput) fds[count++] = pollfd{input_, POLLIN, 0};

        int timeout = -1;
        if (flushScheduled_) {
            const auto left = flushAt_ - std::chrono::steady_clock::now();
            timeout = left <= std::chrono::steady_clock::duration::zero()
                          ? 0
                          : static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
        }
        const int ready = ::poll(fds, count, timeout);
        if (ready < 0) continue;

        if (ready > 0 && (fds[0].revents & POLLIN)) {
            drain(controlRead_);
            std::lock_guard lock(mutex_);
            switch (command_) {
            case Command::pause:
                paused_ = true;
                flushScheduled_ = false;
                break;
            case Command::resume:
                if (paused_) {
                    tcflush(input_, TCIFLUSH);
                    decoder_.reset();
                    paused_ = false;
                }
                break;
            case Command::stop:
                carriedOut_ = sent_;
                done_.notify_all();
                return;
            case Command::none:
                break;
            }
            command_ = Command::none;
            carriedOut_ = sent_;
            done_.notify_all();
            continue;
        }
        if (ready > 0 && (fds[1].revents & POLLIN)) {
            unsigned char signals[64];
            const ssize_t n = ::read(signalRead_, signals, sizeof signals);
            for (ssize_t k = 0; k < n; ++k) handleSignal(signals[k]);
        }
        if (ready > 0 && watchInput && (fds[2].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL))) {
            readInput();
        }
        if (flushScheduled_ && std::chrono::steady_clock::now() >= flushAt_) {
            flushScheduled_ = false;
            if (decoder_.hasPending()) {
                std::vector<InputEvent> events = decoder_.flushPending();
                yieldAll(events);
            }
        }
    }
}

}  // namespace tarv::terminal
