#include "TarvTerminal/Runtime/TerminalSession.hpp"

#include <signal.h>
#include <termios.h>

#include "TarvTerminal/Backend/CrashRestore.hpp"
#include "TarvTerminal/Backend/TerminalError.hpp"
#include "TarvTerminal/Backend/TerminalOutput.hpp"
#include "TarvTerminal/Backend/WindowSize.hpp"

namespace tarv::terminal {
namespace {

constexpr std::string_view reset =
    "\x1b[?2004l\x1b[?1004l\x1b[?1006l\x1b[?1002l\x1b[?1000l\x1b[0m\x1b[?25h\x1b[?1049l";

}  // namespace

TerminalSession::TerminalSession() : options() {}

TerminalSession::TerminalSession(Options options) : options(options) {}

TerminalSession::~TerminalSession() { stop(); }

std::string TerminalSession::enterSequence(const Options& options) {
    std::string out = "\x1b[?1049h\x1b[?25l\x1b[2J";
    if (options.mouse) out.append(mouseOnSequence);
    if (options.focusEvents) out.append("\x1b[?1004h");
    if (options.bracketedPaste) out.append("\x1b[?2004h");
    return out;
}

std::string_view TerminalSession::resetSequence() { return reset; }

std::shared_ptr<InputEventStream> TerminalSession::start() {
    rawMode_ = RawMode::enable(0);
    CrashRestore::install(rawMode_->original, reset);
    write(enterSequence(options));
    auto stream = std::make_shared<InputEventStream>();
    pump_ = std::make_unique<InputPump>(stream, 0, 1);
    pump_->start();
    return stream;
}

Size TerminalSession::size() const { return WindowSize::ofTerminal(1, 0).value_or(Size{80, 24}); }

void TerminalSession::write(std::string_view bytes) { TerminalOutput::writeAll(1, bytes); }

void TerminalSession::restoreAttributes() {
    if (rawMode_) tcsetattr(0, TCSAFLUSH, &rawMode_->original);
}

void TerminalSession::suspend() {
    write(reset);
    restoreAttributes();
    raise(SIGSTOP);
    try {
        rawMode_ = RawMode::enable(0);
    } catch (const TerminalError&) {
        // Carry on with the attributes there are.
    }
    write(enterSequence(options));
}

void TerminalSession::suspendForExternalProgram() {
    if (pump_) pump_->pause();
    write(reset);
    restoreAttributes();
}

void TerminalSession::resumeAfterExternalProgram() {
    try {
        rawMode_ = RawMode::enable(0);
    } catch (const TerminalError&) {
    }
    write(enterSequence(options));
    if (pump_) pump_->resume();
}

void TerminalSession::stop() {
    if (pump_) {
        pump_->stop();
        pump_.reset();
    }
    if (!rawMode_) return;
    write(reset);
    restoreAttributes();
    CrashRestore::uninstall();
    rawMode_.reset();
}

}  // namespace tarv::terminal
