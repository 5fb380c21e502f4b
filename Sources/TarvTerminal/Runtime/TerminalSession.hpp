#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "TarvTerminal/Backend/InputPump.hpp"
#include "TarvTerminal/Backend/RawMode.hpp"
#include "TarvTerminal/Geometry/Size.hpp"
#include "TarvTerminal/Runtime/InputEventStream.hpp"

namespace tarv::terminal {

// The interactive terminal for the life of the full-screen interface: raw
// mode on descriptor 0, the alternate screen with mouse, focus and
// bracketed-paste reporting, the stream of decoded input events, output on
// descriptor 1. The terminal is always given back: on `stop` (also when the
// session is destroyed), around a suspension (ctrl-Z), while an external
// program runs, and from the handlers of fatal signals.
//
// All operations are called from the main thread.
class TerminalSession {
public:
    struct Options {
        bool mouse = true;
        bool focusEvents = true;
        bool bracketedPaste = true;
    };

    TerminalSession();
    explicit TerminalSession(Options options);
    ~TerminalSession();
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

    // Enters raw mode and the alternate screen, installs the fatal-signal
    // restoration, starts the input pump and returns its event stream.
    // Throws TerminalError (and then has changed nothing).
    std::shared_ptr<InputEventStream> start();

    // The window size of the terminal drawn on (descriptor 1, or descriptor
    // 0 or /dev/tty when output is piped); 80 x 24 when it cannot be read.
    Size size() const;

    // Writes all bytes to descriptor 1 (see TerminalOutput::writeAll).
    void write(std::string_view bytes);

    // Gives the terminal back to the shell, stops the process (SIGSTOP) and
    // takes the terminal again once the process is continued.
    void suspend();

    // Lends the terminal to a program in the foreground, and takes it back.
    void suspendForExternalProgram();
    void resumeAfterExternalProgram();

    // Ends the session; idempotent.
    void stop();

    bool isRunning() const { return rawMode_.has_value(); }

    // ESC "[?1049h" ESC "[?25l" ESC "[2J", then the mouse, focus and paste
    // modes the options ask for.
    static std::string enterSequence(const Options& options);
    // Every mode off in reverse order, attributes reset, cursor shown,
    // alternate screen left (58 bytes).
    static std::string_view resetSequence();

    static constexpr std::string_view mouseOnSequence = "\x1b[?1000h\x1b[?1002h\x1b[?1006h";
    static constexpr std::string_view mouseOffSequence = "\x1b[?1006l\x1b[?1002l\x1b[?1000l";

    const Options options;

private:
    void restoreAttributes();

    std::optional<RawMode> rawMode_;
    std::unique_ptr<InputPump> pump_;
};

}  // namespace tarv::terminal
