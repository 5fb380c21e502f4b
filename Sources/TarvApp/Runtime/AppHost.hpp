#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "TarvApp/Runtime/BusyRule.hpp"
#include "TarvApp/Runtime/RuntimeHost.hpp"
#include "TarvFeatures/App/AppAction.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/AppState.hpp"
#include "TarvFeatures/Architecture/Store.hpp"

namespace tarv::app {

// The application behind the runtime loop: the store with the application
// state and reducer, the screens that draw it and the routing of input into
// actions.
//
// `Drawn` is what drawing the state yields: `grid`, `cursor` and the
// `viewports` measured while drawing, plus whatever the routing needs (the
// hit regions). Routing asks for a frame only when it needs hit regions (the
// mouse): that frame is drawn from the current state for the purpose (not
// written), except that a wheel event reuses the routing frame of the
// previous routed event, so a burst of wheel steps costs no drawing. Any
// other event forgets that frame, so a wheel step after a key draws afresh.
// Keys, pastes and focus changes are routed without drawing.
template <class Drawn>
class AppHost final : public RuntimeHost {
public:
    struct Screens {
        // Draws the state at a size and spinner step (theme, colour depth
        // and keymap are the screens' own).
        std::function<Drawn(const features::AppState&, terminal::Size, std::int64_t tick)> draw;
        // The actions an event means for the state on a terminal of `size`;
        // `frame` draws (or reuses) the frame the state shows, called only
        // when needed.
        std::function<std::vector<features::AppAction>(const terminal::InputEvent&, const features::AppState&,
                                                       terminal::Size size,
                                                       const std::function<const Drawn&()>& frame)>
            route;
    };

    AppHost(features::AppState initialState, features::AppReducer reducer,
            std::shared_ptr<features::EffectExecutor> executor, Screens screens,
            std::optional<core::Text> startupNotice = std::nullopt)
        : store_(std::move(initialState), std::move(reducer), std::move(executor)),
          screens_(std::move(screens)),
          startupNotice_(std::move(startupNotice)) {}

    features::Store<features::AppReducer>& store() { return store_; }
    const features::AppState& state() const { return store_.state(); }

    void attach(std::function<void()> requestFrame) override { store_.setOnChange(std::move(requestFrame)); }
    void detach() override { store_.setOnChange(nullptr); }
    void cancelEffects() override { store_.cancelEffects(); }

    void launch(const std::string& startDirectory) override {
        store_.send(features::AppAction::Launch{startDirectory});
        if (startupNotice_) store_.send(features::AppAction::Notice{*startupNotice_, true});
    }

    void quit() override { store_.send(features::AppAction::Quit{}); }

    void route(const terminal::InputEvent& event, terminal::Size size, std::int64_t tick) override {
        if (!isWheel(event)) routingFrame_.reset();
        const std::function<const Drawn&()> frame = [&]() -> const Drawn& {
            if (!routingFrame_) routingFrame_ = screens_.draw(store_.state(), size, tick);
            return *routingFrame_;
        };
        for (features::AppAction& action : screens_.route(event, store_.state(), size, frame)) {
            store_.send(std::move(action));
        }
    }

    void forgetRoutingFrame() override { routingFrame_.reset(); }

    RuntimeHost::Frame draw(terminal::Size size, std::int64_t tick) override {
        Drawn frame = screens_.draw(store_.state(), size, tick);
        drawnViewports_ = frame.viewports;
        return RuntimeHost::Frame{std::move(frame.grid), frame.cursor};
    }

    void frameWritten() override {
        if (drawnViewports_ && !(*drawnViewports_ == store_.state().viewports)) {
            store_.send(features::AppAction::Viewports{*drawnViewports_});
        }
    }

    bool isBusy() const override { return BusyRule::isBusy(store_.state()); }
    void clockTick() override { store_.send(features::AppAction::Tick{}); }
    std::optional<core::ExternalRequest> externalRequest() const override { return store_.state().externalRequest; }
    void externalFinished(bool failed) override { store_.send(features::AppAction::ExternalFinished{failed}); }
    bool shouldQuit() const override { return store_.state().shouldQuit; }

private:
    static bool isWheel(const terminal::InputEvent& event) {
        const auto* mouse = event.get<terminal::InputEvent::Mouse>();
        return mouse != nullptr && mouse->event.kind.is<terminal::MouseEvent::Scroll>();
    }

    features::Store<features::AppReducer> store_;
    Screens screens_;
    std::optional<core::Text> startupNotice_;
    std::optional<Drawn> routingFrame_;
    std::optional<features::Viewports> drawnViewports_;
};

}  // namespace tarv::app
