#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

#include "TarvTerminal/Input/InputEvent.hpp"

namespace tarv::terminal {

// The ordered, unbounded stream of input events from the input thread to
// the main loop. Any thread may yield; one consumer takes the events. After
// `finish` the consumer still receives what was yielded before, then the end;
// later yields are dropped.
//
// `readyDescriptor()` is readable while an event is waiting or the stream
// has ended, so the main loop can poll it together with its timers.
class InputEventStream {
public:
    InputEventStream();
    ~InputEventStream();
    InputEventStream(const InputEventStream&) = delete;
    InputEventStream& operator=(const InputEventStream&) = delete;

    // Adds an event; false when the stream has already finished.
    bool yield(InputEvent event);
    void finish();

    // The next event without waiting; none when nothing is waiting.
    std::optional<InputEvent> tryNext();
    // The next event, waiting for it; none at the end of the stream.
    std::optional<InputEvent> next();
    // The next event, waiting at most `timeout`; none on timeout or at the end.
    std::optional<InputEvent> next(std::chrono::steady_clock::duration timeout);

    // True once the stream has finished and every event has been taken.
    bool hasEnded() const;

    int readyDescriptor() const { return ready_; }

private:
    std::optional<InputEvent> takeLocked();
    void signalLocked();

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<InputEvent> events_;
    bool finished_ = false;
    bool signalled_ = false;
    int ready_ = -1;
};

}  // namespace tarv::terminal
