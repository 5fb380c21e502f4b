#pragma once

// A small application for the runtime loop's tests: a real Store with live
// effect jobs over a reducer of a few actions, drawn as a few lines of text.
// Keys: q quit, b busy, n not busy, e ask for the terminal editor, j start a
// write (never stopped) that reports back late, anything else is
// shown as the last key.

#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Support/PtyProcess.hpp"
#include "TarvApp/Runtime/RuntimeHost.hpp"
#include "TarvCore/Concurrency/MainQueue.hpp"
#include "TarvFeatures/Architecture/LiveEffectExecutor.hpp"
#include "TarvFeatures/Architecture/Store.hpp"
#include "TarvTerminal/Buffer/Canvas.hpp"

namespace tarv::app::testing {

struct FakeState {
    std::vector<std::string> lines;
    std::string last = "none";
    bool quit = false;
    bool busy = false;
    std::optional<core::ExternalRequest> external;
    int clockTicks = 0;
};

struct FakeAction {
    std::string name;
    std::string argument;
};

struct FakeReducer {
    using State = FakeState;
    using Action = FakeAction;

    features::Effect<FakeAction> reduce(FakeState& state, FakeAction action) const {
        const std::string& a = action.argument;
        if (action.name == "launch") state.lines.push_back("launched " + a);
        if (action.name == "notice") state.lines.push_back("notice " + a);
        if (action.name == "quit") state.quit = true;
        if (action.name == "tick") ++state.clockTicks;
        if (action.name == "late") state.lines.push_back("late action");
        if (action.name == "external-finished") {
            state.external.reset();
            state.lines.push_back("editor " + a);
        }
        if (action.name != "key") return {};
        if (a == "q") {
            state.quit = true;
        } else if (a == "b") {
            state.busy = true;
        } else if (a == "n") {
            state.busy = false;
        } else if (a == "e") {
            state.external = core::ExternalRequest::terminalEditor("/tmp/notes.txt");
        } else if (a == "E") {
            state.external = core::ExternalRequest::command({"nano", "-w", "/tmp/notes.txt"});
        } else if (a == "j") {
            return features::Effect<FakeAction>::write("late", "writes", [](auto send, std::stop_token) {
                // A write: quitting does not stop it, and it still reports.
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                send(FakeAction{"late", ""});
            });
        } else {
            state.last = a;
        }
        return {};
    }
};

inline bool isRawTerminal() {
    termios t{};
    if (tcgetattr(0, &t) != 0) return false;
    return !(t.c_lflag & (ICANON | ECHO | ISIG));
}

class FakeHost final : public RuntimeHost {
public:
    FakeHost(std::shared_ptr<core::MainQueue> queue, int report)
        : store_(FakeState{}, FakeReducer{}, std::make_shared<features::LiveEffectExecutor>(queue)), report_(report) {}

    features::Store<FakeReducer>& store() { return store_; }
    int framesDrawn() const { return frames_; }

    void attach(std::function<void()> requestFrame) override { store_.setOnChange(std::move(requestFrame)); }
    void detach() override {
        tarv::testing::report(report_, std::string("detached while ") + (isRawTerminal() ? "raw" : "cooked"));
        store_.setOnChange(nullptr);
    }
    void cancelEffects() override { store_.cancelEffects(); }
    void launch(const std::string& startDirectory) override { store_.send({"launch", startDirectory}); }
    void quit() override { store_.send({"quit", ""}); }
    void route(const terminal::InputEvent& event, terminal::Size, std::int64_t) override {
        if (const auto* key = event.get<terminal::InputEvent::Key>()) {
            if (const std::string* text = key->event.code.characterText()) {
                store_.send({"key", *text});
                return;
            }
        }
        store_.send({"key", "other"});
    }
    void forgetRoutingFrame() override {}
    Frame draw(terminal::Size size, std::int64_t tick) override {
        ++frames_;
        terminal::Canvas canvas(size);
        const FakeState& s = store_.state();
        tarv::testing::report(report_, "frame tick " + std::to_string(tick) + " size " + std::to_string(size.width) +
                                           "x" + std::to_string(size.height) + " clock " +
                                           std::to_string(s.clockTicks) + " last " + s.last);
        canvas.draw("frame " + std::to_string(frames_) + " tick " + std::to_string(tick) + " size " +
                        std::to_string(size.width) + "x" + std::to_string(size.height) + " clock " +
                        std::to_string(s.clockTicks) + " last " + s.last + ".",
                    terminal::Point{0, 0}, terminal::Style::plain);
        std::int64_t row = 1;
        for (const std::string& line : s.lines) {
            canvas.draw(line, terminal::Point{0, row++}, terminal::Style::plain);
        }
        return Frame{std::move(canvas).grid(), std::nullopt};
    }
    void frameWritten() override {}
    bool isBusy() const override { return store_.state().busy; }
    void clockTick() override { store_.send({"tick", ""}); }
    std::optional<core::ExternalRequest> externalRequest() const override { return store_.state().external; }
    void externalFinished(bool failed) override { store_.send({"external-finished", failed ? "failed" : "done"}); }
    bool shouldQuit() const override { return store_.state().quit; }

private:
    features::Store<FakeReducer> store_;
    int report_;
    int frames_ = 0;
};

}  // namespace tarv::app::testing
