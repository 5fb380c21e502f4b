#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "TarvCore/Models/ExternalRequest.hpp"
#include "TarvTerminal/Buffer/Grid.hpp"
#include "TarvTerminal/Geometry/Point.hpp"
#include "TarvTerminal/Geometry/Size.hpp"
#include "TarvTerminal/Input/InputEvent.hpp"

namespace tarv::app {

// What the runtime loop drives: the application's state with its reducer,
// views and input routing. The loop owns the terminal, the timers and the
// order of things; the host owns the state. Every call comes from the loop's
// thread (the main thread).
class RuntimeHost {
public:
    // One drawn frame: the cells and where the text cursor stands (none:
    // hidden).
    struct Frame {
        terminal::Grid grid;
        std::optional<terminal::Point> cursor;
    };

    virtual ~RuntimeHost() = default;

    // The terminal is taken: from now on the host calls `requestFrame` after
    // every change of its state.
    virtual void attach(std::function<void()> requestFrame) = 0;
    // Teardown, before the terminal is given back: the host drops
    // `requestFrame` and will never ask for a frame again.
    virtual void detach() = 0;
    // Cancels all running work of the state.
    virtual void cancelEffects() = 0;

    // The first actions: launch at the start directory, then the start-up
    // notice if there is one.
    virtual void launch(const std::string& startDirectory) = 0;
    // ctrl-C.
    virtual void quit() = 0;
    // Any event the loop does not handle itself, routed into actions against
    // what the current state shows at `size` and `tick`.
    virtual void route(const terminal::InputEvent& event, terminal::Size size, std::int64_t tick) = 0;
    // The screen was redrawn from scratch (resize, suspension): a frame kept
    // for routing is stale.
    virtual void forgetRoutingFrame() = 0;

    // Draws the current state.
    virtual Frame draw(terminal::Size size, std::int64_t tick) = 0;
    // The frame just drawn was written: the host tells its state the visible
    // sizes measured while drawing, when they changed.
    virtual void frameWritten() = 0;

    // Something runs that the spinner shows.
    virtual bool isBusy() const = 0;
    // The clock's tick (every 30 seconds).
    virtual void clockTick() = 0;
    virtual std::optional<core::ExternalRequest> externalRequest() const = 0;
    virtual void externalFinished(bool failed) = 0;
    virtual bool shouldQuit() const = 0;
};

}  // namespace tarv::app
