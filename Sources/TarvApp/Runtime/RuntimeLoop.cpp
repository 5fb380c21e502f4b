#include "TarvApp/Runtime/RuntimeLoop.hpp"

#include <poll.h>

#include <cerrno>
#include <climits>
#include <variant>

#include "TarvTerminal/Backend/TerminalError.hpp"
#include "TarvTerminal/Backend/TerminalOutput.hpp"

namespace tarv::app {
namespace {

using terminal::InputEvent;
using terminal::KeyEvent;
using terminal::Modifiers;

bool isControl(const InputEvent& event, const char* character) {
    const auto* key = event.get<InputEvent::Key>();
    return key != nullptr && key->event == KeyEvent::character(character, Modifiers::control);
}

int millisecondsUntil(std::chrono::steady_clock::time_point due, std::chrono::steady_clock::time_point now) {
    if (due <= now) return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(due - now).count();
    return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

int earlier(int a, int b) {
    if (a < 0) return b;
    if (b < 0) return a;
    return a < b ? a : b;
}

}  // namespace

RuntimeLoop::RuntimeLoop(RuntimeHost& host, std::shared_ptr<core::MainQueue> queue,
                         std::shared_ptr<core::ForegroundProcessRunning> foreground, std::function<void()> shutdown,
                         Settings settings)
    : host_(host),
      queue_(std::move(queue)),
      foreground_(std::move(foreground)),
      shutdown_(std::move(shutdown)),
      settings_(settings),
      session_(settings.session),
      renderer_(settings.colorSupport) {}

RuntimeLoop::~RuntimeLoop() { *drawing_ = false; }

int RuntimeLoop::run(const std::string& startDirectory) {
    try {
        events_ = session_.start();
    } catch (const terminal::TerminalError& error) {
        if (shutdown_) shutdown_();
        if (error.isNotATTY()) {
            terminal::TerminalOutput::writeAll(2, std::string(notATTYMessage(settings_.language)) + "\n");
        }
        return 1;
    }
    suspendSignal_.install();
    size_ = session_.size();
    scheduler_.emplace([this] { render(); }, settings_.frameInterval);
    *drawing_ = true;
    std::weak_ptr<bool> drawing = drawing_;
    host_.attach([this, drawing] {
        if (const auto alive = drawing.lock(); alive && *alive) requestFrame();
    });
    host_.launch(startDirectory);
    requestFrame();
    clockDue_ = Clock::now() + settings_.clockInterval;
    if (const auto code = afterChanges()) return *code;
    for (;;) {
        if (const auto code = step()) return *code;
    }
}

int RuntimeLoop::pollTimeout() const {
    const Clock::time_point now = Clock::now();
    int timeout = scheduler_ ? scheduler_->pollTimeout() : -1;
    if (spinnerDue_) timeout = earlier(timeout, millisecondsUntil(*spinnerDue_, now));
    if (clockDue_) timeout = earlier(timeout, millisecondsUntil(*clockDue_, now));
    return earlier(timeout, queue_->timerTimeout());
}

std::optional<int> RuntimeLoop::step() {
    pollfd fds[3] = {
        {events_->readyDescriptor(), POLLIN, 0},
        {queue_->wakeFd(), POLLIN, 0},
        {suspendSignal_.descriptor(), POLLIN, 0},
    };
    const int ready = ::poll(fds, 3, pollTimeout());
    if (ready < 0 && errno != EINTR) return finish(0);
    if (ready > 0 && (fds[2].revents & POLLIN) && suspendSignal_.take()) suspend();
    if (ready > 0 && (fds[1].revents & POLLIN)) queue_->drain();
    while (auto event = events_->tryNext()) {
        if (const auto code = handle(*event)) return code;
    }
    if (events_->hasEnded()) return finish(0);
    runTimers();
    if (scheduler_) scheduler_->runDue();
    return afterChanges();
}

std::optional<int> RuntimeLoop::handle(const InputEvent& event) {
    if (event.is<InputEvent::Terminate>()) return finish(0);
    if (const auto* resize = event.get<InputEvent::Resize>()) {
        size_ = resize->size;
        renderer_.invalidate();
        requestFrame();
        host_.forgetRoutingFrame();
    } else if (isControl(event, "z")) {
        suspend();
    } else if (isControl(event, "c")) {
        host_.quit();
    } else {
        host_.route(event, size_, tick_);
    }
    return afterChanges();
}

std::optional<int> RuntimeLoop::afterChanges() {
    if (const auto request = host_.externalRequest()) runExternal(*request);
    if (host_.shouldQuit()) return finish(0);
    return std::nullopt;
}

void RuntimeLoop::runTimers() {
    queue_->runDueTimers();
    const Clock::time_point now = Clock::now();
    if (spinnerDue_ && now >= *spinnerDue_) {
        ++tick_;
        requestFrame();
        if (host_.isBusy()) {
            spinnerDue_ = now + settings_.spinnerInterval;
        } else {
            spinnerDue_.reset();
        }
    }
    if (clockDue_ && now >= *clockDue_) {
        clockDue_ = now + settings_.clockInterval;
        host_.clockTick();
    }
}

void RuntimeLoop::requestFrame() {
    if (scheduler_) scheduler_->request();
}

void RuntimeLoop::render() {
    if (externalRunning_ || !*drawing_ || !session_.isRunning()) return;
    RuntimeHost::Frame frame = host_.draw(size_, tick_);
    const std::string bytes = renderer_.render(frame.grid, frame.cursor);
    if (!bytes.empty()) session_.write(bytes);
    host_.frameWritten();
    updateAnimation();
}

void RuntimeLoop::updateAnimation() {
    if (spinnerDue_ || !host_.isBusy()) return;
    spinnerDue_ = Clock::now() + settings_.spinnerInterval;
}

void RuntimeLoop::suspend() {
    // The shell gets the terminal back before the process stops.
    suspendSignal_.uninstall();
    session_.suspend();
    suspendSignal_.install();
    suspendSignal_.take();
    size_ = session_.size();
    renderer_.invalidate();
    requestFrame();
    host_.forgetRoutingFrame();
}

void RuntimeLoop::runExternal(const core::ExternalRequest& request) {
    externalRunning_ = true;
    // While the editor owns the terminal, job control stops both together.
    suspendSignal_.uninstall();
    session_.suspendForExternalProgram();
    bool failed = false;
    if (const auto* editor = std::get_if<core::ExternalRequest::TerminalEditor>(&request.value)) {
        const std::vector<std::string> arguments{"--", editor->path};
        if (!foreground_->run("vim", arguments, {})) failed = !foreground_->run("vi", arguments, {});
    } else if (const auto* command = std::get_if<core::ExternalRequest::Command>(&request.value);
               command != nullptr && !command->words.empty()) {
        const std::vector<std::string> arguments(command->words.begin() + 1, command->words.end());
        failed = !foreground_->run(command->words.front(), arguments, {});
    } else {
        failed = true;
    }
    session_.resumeAfterExternalProgram();
    suspendSignal_.install();
    suspendSignal_.take();
    externalRunning_ = false;
    size_ = session_.size();
    renderer_.invalidate();
    host_.forgetRoutingFrame();
    host_.externalFinished(failed);
    requestFrame();
}

int RuntimeLoop::finish(int code) {
    spinnerDue_.reset();
    clockDue_.reset();
    host_.cancelEffects();
    // Nothing may draw once the terminal is given back: the host forgets the
    // frame request and the scheduler goes first.
    *drawing_ = false;
    host_.detach();
    scheduler_.reset();
    session_.stop();
    suspendSignal_.uninstall();
    if (shutdown_) shutdown_();
    return code;
}

}  // namespace tarv::app
