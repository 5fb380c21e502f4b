#include "TarvTerminal/Backend/TerminalProbe.hpp"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <climits>
#include <functional>
#include <string>

#include "TarvTerminal/Backend/RawMode.hpp"
#include "TarvTerminal/Backend/TerminalOutput.hpp"
#include "TarvTerminal/Backend/TerminalProbeParser.hpp"
#include "TarvTerminal/Input/InputDecoder.hpp"

namespace tarv::terminal::TerminalProbe {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view mouseOn = "\x1b[?1000h\x1b[?1002h\x1b[?1006h";
constexpr std::string_view mouseOff = "\x1b[?1006l\x1b[?1002l\x1b[?1000l";

// Raw mode for the duration of one probe; the saved attributes come back
// however the probe ends, after `closing` has been written.
class RawSection {
public:
    explicit RawSection(std::string_view closing = {}) : mode_(RawMode::enable(0)), closing_(closing) {}
    ~RawSection() {
        if (!closing_.empty()) TerminalOutput::writeAll(1, closing_);
        tcsetattr(0, TCSAFLUSH, &mode_.original);
    }
    RawSection(const RawSection&) = delete;
    RawSection& operator=(const RawSection&) = delete;

private:
    RawMode mode_;
    std::string_view closing_;
};

int pollTimeout(Clock::duration left) {
    if (left <= Clock::duration::zero()) return 0;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(left).count();
    return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

enum class ReadResult { bytes, nothing, ended };

// Waits up to `timeout` for input and reads at most 1024 bytes of it.
ReadResult readChunk(Clock::duration timeout, std::string& into) {
    pollfd p{0, POLLIN, 0};
    if (::poll(&p, 1, pollTimeout(timeout)) <= 0) return ReadResult::nothing;
    char buffer[1024];
    const ssize_t n = ::read(0, buffer, sizeof buffer);
    if (n <= 0) return ReadResult::ended;
    into.append(buffer, static_cast<std::size_t>(n));
    return ReadResult::bytes;
}

std::string readUntil(Clock::duration timeout, const std::function<bool(const std::string&)>& done) {
    std::string collected;
    const Clock::time_point deadline = Clock::now() + timeout;
    if (deadline <= Clock::now()) return collected;
    while (Clock::now() < deadline) {
        if (done(collected)) return collected;
        if (readChunk(deadline - Clock::now(), collected) == ReadResult::ended) break;
    }
    return collected;
}

}  // namespace

TerminalProbeReport queryCapabilities(std::chrono::milliseconds timeout) {
    RawSection raw;
    std::string queries;
    for (std::int64_t mode : probedModes) queries += "\x1b[?" + std::to_string(mode) + "$p";
    queries += "\x1b[38;2;10;20;30m\x1bP$qm\x1b\\\x1b[0m";
    queries += "\x1b[c";
    TerminalOutput::writeAll(1, queries);
    const std::string answers = readUntil(
        timeout, [](const std::string& bytes) { return TerminalProbeParser::containsDeviceAttributes(bytes); });
    TerminalOutput::writeAll(1, "\r\x1b[2K");
    return TerminalProbeParser::parse(answers);
}

std::optional<TerminalProbeClick> waitForClick(std::chrono::milliseconds timeout) {
    RawSection raw(mouseOff);
    TerminalOutput::writeAll(1, mouseOn);
    std::string bytes;
    InputDecoder decoder;
    const Clock::time_point deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        std::string chunk;
        const ReadResult result = readChunk(deadline - Clock::now(), chunk);
        if (result == ReadResult::ended) break;
        if (result == ReadResult::nothing) continue;
        bytes += chunk;
        for (const InputEvent& event : decoder.feed(chunk)) {
            if (const auto* mouse = event.get<InputEvent::Mouse>()) {
                if (mouse->event.kind.is<MouseEvent::Press>()) {
                    return TerminalProbeClick{TerminalProbeParser::mouseEncoding(bytes), mouse->event.position};
                }
            } else if (event.is<InputEvent::Key>()) {
                return std::nullopt;
            }
        }
    }
    return std::nullopt;
}

std::vector<WheelSample> recordWheel(std::chrono::milliseconds duration) {
    RawSection raw(mouseOff);
    TerminalOutput::writeAll(1, mouseOn);
    std::vector<WheelSample> samples;
    InputDecoder decoder;
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = start + duration;
    while (Clock::now() < deadline) {
        std::string chunk;
        const ReadResult result = readChunk(deadline - Clock::now(), chunk);
        const auto at = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        if (result == ReadResult::ended) break;
        for (const InputEvent& event : decoder.feed(chunk)) {
            if (const auto* mouse = event.get<InputEvent::Mouse>()) {
                if (const auto* scroll = std::get_if<MouseEvent::Scroll>(&mouse->event.kind.value)) {
                    samples.push_back(WheelSample{at, scroll->direction});
                }
            } else if (event.is<InputEvent::Key>()) {
                return samples;
            }
        }
    }
    return samples;
}

}  // namespace tarv::terminal::TerminalProbe
