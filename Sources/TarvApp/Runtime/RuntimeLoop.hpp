#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "TarvApp/Runtime/RuntimeHost.hpp"
#include "TarvApp/Runtime/SuspendSignal.hpp"
#include "TarvCore/Concurrency/MainQueue.hpp"
#include "TarvCore/Localization/Language.hpp"
#include "TarvCore/Ports/ForegroundProcessRunning.hpp"
#include "TarvTerminal/Backend/ColorSupport.hpp"
#include "TarvTerminal/Render/FrameRenderer.hpp"
#include "TarvTerminal/Runtime/FrameScheduler.hpp"
#include "TarvTerminal/Runtime/InputEventStream.hpp"
#include "TarvTerminal/Runtime/TerminalSession.hpp"

namespace tarv::app {

// The main loop of the interactive process. It takes the terminal, then
// waits in one `poll` on three descriptors (the terminal's input events, the
// main queue's wake descriptor that effect jobs post their actions to, and
// the SIGTSTP pipe) with the nearest of four deadlines as its timeout: the
// frame scheduler's pending frame, the spinner's next step (only while the
// host is busy), the 30-second clock and the main queue's next timer (the
// jobs' timers: toasts, the background fetch). Nothing else wakes it, so an
// idle interface costs nothing but the clock.
//
// Everything runs on the calling thread: events are routed, queued actions
// reduced and frames drawn there. It handles itself: terminate (end),
// resize (redraw whole), ctrl-Z and SIGTSTP (give the terminal back, stop,
// take it again on continue, redraw whole), ctrl-C (the host's quit), the
// host's request for the terminal editor ("vim", else "vi", with the
// terminal lent to it) and the host's wish to quit.
//
// Teardown cancels the timers and the host's work, then detaches the host
// and drops the frame scheduler, and only then gives the terminal back and
// calls `shutdown`: no frame can reach the user's normal screen afterwards.
class RuntimeLoop {
public:
    struct Settings {
        terminal::TerminalSession::Options session;
        terminal::ColorSupport colorSupport = terminal::ColorSupport::trueColor;
        std::chrono::milliseconds frameInterval = terminal::FrameScheduler::defaultInterval;
        std::chrono::milliseconds spinnerInterval{100};
        std::chrono::milliseconds clockInterval{30000};
        core::Language language = core::Language::en;  // of the no-terminal message
    };

    RuntimeLoop(RuntimeHost& host, std::shared_ptr<core::MainQueue> queue,
                std::shared_ptr<core::ForegroundProcessRunning> foreground, std::function<void()> shutdown,
                Settings settings);
    ~RuntimeLoop();
    RuntimeLoop(const RuntimeLoop&) = delete;
    RuntimeLoop& operator=(const RuntimeLoop&) = delete;

    // Runs until the host quits, a terminating signal arrives or the input
    // ends (0); 1 when the terminal cannot be taken (after `shutdown`, with
    // the no-terminal message on standard error when standard input is not a
    // terminal).
    int run(const std::string& startDirectory);

    // The no-terminal message in `language`.
    static std::string_view notATTYMessage(core::Language language) {
        return language == core::Language::es
                   ? "tarv necesita una terminal interactiva (no se puede usar con tuber\xC3\xAD" "as ni redirecciones)."
                   : "tarv needs an interactive terminal (it cannot be used with pipes or redirections).";
    }

private:
    using Clock = std::chrono::steady_clock;

    std::optional<int> step();
    std::optional<int> handle(const terminal::InputEvent& event);
    std::optional<int> afterChanges();
    int pollTimeout() const;
    void runTimers();
    void render();
    void requestFrame();
    void updateAnimation();
    void suspend();
    void runExternal(const core::ExternalRequest& request);
    int finish(int code);

    RuntimeHost& host_;
    std::shared_ptr<core::MainQueue> queue_;
    std::shared_ptr<core::ForegroundProcessRunning> foreground_;
    std::function<void()> shutdown_;
    const Settings settings_;

    terminal::TerminalSession session_;
    terminal::FrameRenderer renderer_;
    std::optional<terminal::FrameScheduler> scheduler_;
    std::shared_ptr<terminal::InputEventStream> events_;
    SuspendSignal suspendSignal_;
    // Cleared at teardown; the frame request handed to the host checks it.
    std::shared_ptr<bool> drawing_ = std::make_shared<bool>(false);

    terminal::Size size_{80, 24};
    std::int64_t tick_ = 0;
    std::optional<Clock::time_point> spinnerDue_;
    std::optional<Clock::time_point> clockDue_;
    bool externalRunning_ = false;
};

}  // namespace tarv::app
