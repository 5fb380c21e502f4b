#include "TarvTerminal/Runtime/InputEventStream.hpp"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace tarv::terminal {

InputEventStream::InputEventStream() : ready_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

InputEventStream::~InputEventStream() {
    if (ready_ >= 0) close(ready_);
}

void InputEventStream::signalLocked() {
    // The descriptor is readable exactly while events wait or the stream has
    // ended; it is set on the first event and cleared when the last is taken.
    if (signalled_ || ready_ < 0) return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(ready_, &one, sizeof one);
    signalled_ = true;
}

bool InputEventStream::yield(InputEvent event) {
    {
        std::lock_guard lock(mutex_);
        if (finished_) return false;
        events_.push_back(std::move(event));
        signalLocked();
    }
    changed_.notify_one();
    return true;
}

void InputEventStream::finish() {
    {
        std::lock_guard lock(mutex_);
        if (finished_) return;
        finished_ = true;
        signalLocked();
    }
    changed_.notify_all();
}

std::optional<InputEvent> InputEventStream::takeLocked() {
    if (events_.empty()) return std::nullopt;
    InputEvent event = std::move(events_.front());
    events_.pop_front();
    if (events_.empty() && !finished_ && signalled_ && ready_ >= 0) {
        std::uint64_t value = 0;
        [[maybe_unused]] const ssize_t n = ::read(ready_, &value, sizeof value);
        signalled_ = false;
    }
    return event;
}

std::optional<InputEvent> InputEventStream::tryNext() {
    std::lock_guard lock(mutex_);
    return takeLocked();
}

std::optional<InputEvent> InputEventStream::next() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !events_.empty() || finished_; });
    return takeLocked();
}

std::optional<InputEvent> InputEventStream::next(std::chrono::steady_clock::duration timeout) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, timeout, [&] { return !events_.empty() || finished_; });
    return takeLocked();
}

bool InputEventStream::hasEnded() const {
    std::lock_guard lock(mutex_);
    return finished_ && events_.empty();
}

}  // namespace tarv::terminal
