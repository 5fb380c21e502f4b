#pragma once

#include <signal.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "TarvTerminal/Input/InputDecoder.hpp"
#include "TarvTerminal/Runtime/InputEventStream.hpp"

namespace tarv::terminal {

// The terminal session's reader. A thread of its own waits for bytes on the
// input descriptor, decodes them and yields the events into the session's
// stream; it turns SIGWINCH into `resize` (with the size of the terminal
// drawn on, see WindowSize::ofTerminal) and SIGTERM, SIGHUP, SIGINT and SIGQUIT into `terminate`, and
// a lone ESC into the Escape key when nothing follows it within 30 ms.
//
// Signals reach the thread through a self-pipe written by async-signal-safe
// handlers. The end of input (or a read error) yields one `terminate`, after
// which the input is no longer watched.
//
// `start`, `pause`, `resume` and `stop` are called from the main thread and
// return once the reader has carried them out.
class InputPump {
public:
    static constexpr std::chrono::milliseconds escapeDelay{30};
    static constexpr std::size_t readSize = 4096;
    // SIGWINCH, SIGTERM, SIGHUP, SIGINT and SIGQUIT.
    static constexpr std::size_t forwardedCount = 5;

    explicit InputPump(std::shared_ptr<InputEventStream> stream, int inputDescriptor = 0, int sizeDescriptor = 1);
    ~InputPump();
    InputPump(const InputPump&) = delete;
    InputPump& operator=(const InputPump&) = delete;

    // Installs the signal handlers and starts reading.
    void start();
    // Stops reading (an external program owns the terminal). While paused,
    // SIGINT and SIGQUIT, which the terminal sends to that program too, do
    // not end the session.
    void pause();
    // Discards what was typed meanwhile, forgets half-decoded input and
    // reads again.
    void resume();
    // Stops the reader, finishes the stream and gives the signals back the
    // actions they had before `start` (normally their default: a hangup or
    // SIGTERM then ends the process, so a program whose terminal went away
    // while it was exiting never lingers).
    void stop();

private:
    enum class Command : std::uint8_t { none, pause, resume, stop };

    void run();
    void send(Command command);
    void handleSignal(int signalNumber);
    void readInput();
    void yieldAll(std::vector<InputEvent>& events);

    std::shared_ptr<InputEventStream> stream_;
    const int input_;
    const int sizeDescriptor_;

    // Owned by the reader thread.
    InputDecoder decoder_;
    bool paused_ = false;
    bool inputEnded_ = false;
    // A lone ESC (or ESC "[") waits this long for what may follow it; any
    // read in between postpones the flush.
    bool flushScheduled_ = false;
    std::chrono::steady_clock::time_point flushAt_{};

    // Shared with the main thread.
    std::mutex mutex_;
    std::condition_variable done_;
    Command command_ = Command::none;
    std::uint64_t sent_ = 0;
    std::uint64_t carriedOut_ = 0;

    // The actions of the forwarded signals before `start`, in their order.
    std::array<struct sigaction, forwardedCount> previousActions_{};

    int controlRead_ = -1;
    int controlWrite_ = -1;
    int signalRead_ = -1;
    bool started_ = false;
    bool stopped_ = false;
    std::thread thread_;
};

}  // namespace tarv::terminal
