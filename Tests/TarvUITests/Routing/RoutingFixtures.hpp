#pragma once

// States, keys, frames and a hand-moved clock for the routing tests.

#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Support/ActionPrinting.hpp"
#include "TarvFeatures/App/AppState.hpp"
#include "TarvTerminal/Input/InputEvent.hpp"
#include "TarvUI/Routing/InputRouter.hpp"
#include "TarvUITests/WorkspaceFixtures.hpp"

namespace tarv::ui::fixtures {

using Actions = std::vector<features::AppAction>;

inline terminal::KeyEvent ch(std::string text, terminal::Modifiers modifiers = {}) {
    return terminal::KeyEvent::character(std::move(text), modifiers);
}
inline terminal::KeyEvent ctrl(std::string text) { return ch(std::move(text), terminal::Modifiers::control); }
inline terminal::KeyEvent alt(std::string text) { return ch(std::move(text), terminal::Modifiers::alt); }
inline terminal::KeyEvent key(terminal::KeyCode code, terminal::Modifiers modifiers = {}) {
    return terminal::KeyEvent{std::move(code), modifiers};
}

inline features::AppState onboardingAt(features::OnboardingState::Step step) {
    features::AppState state;
    state.onboarding.step = std::move(step);
    return state;
}
inline features::AppState launching() { return onboardingAt(features::OnboardingState::Step::done()); }
inline features::AppState welcome() {
    features::AppState state = launching();
    state.launchHandled = true;
    return state;
}
// An open workspace with two changed files, past onboarding.
inline features::AppState workspace() {
    features::AppState state = stateWith({file("a.txt"), file("b.txt")});
    state.onboarding.step = features::OnboardingState::Step::done();
    return state;
}
inline features::AppState workspaceWith(features::Overlay overlay) {
    features::AppState state = workspace();
    state.overlay = std::move(overlay);
    return state;
}

// A clock the test moves by hand; copies share the instant.
struct ManualClock {
    std::shared_ptr<InputRouter::Clock::time_point> instant =
        std::make_shared<InputRouter::Clock::time_point>(std::chrono::hours(1));
    InputRouter::Now now() const {
        return [instant = instant] { return *instant; };
    }
    void advance(InputRouter::Clock::duration by) const { *instant += by; }
};

// A frame of `size` with the given regions, drawn in this order.
inline RenderedFrame frameWith(std::vector<std::pair<terminal::Rect, HitRegion>> regions,
                               terminal::Size size = {80, 24}) {
    RenderedFrame frame{terminal::Grid(size), std::nullopt, features::Viewports{}, {}};
    for (auto& [rect, region] : regions) frame.hits.add(rect, std::move(region));
    return frame;
}

inline terminal::InputEvent mouse(terminal::MouseEvent::Kind kind, std::int64_t x, std::int64_t y,
                                  terminal::Modifiers modifiers = {}) {
    return terminal::InputEvent::mouse(terminal::MouseEvent{std::move(kind), terminal::Point{x, y}, modifiers});
}
inline terminal::InputEvent leftPress(std::int64_t x, std::int64_t y) {
    return mouse(terminal::MouseEvent::Kind::press(terminal::MouseEvent::Button::left), x, y);
}
inline terminal::InputEvent leftDrag(std::int64_t x, std::int64_t y) {
    return mouse(terminal::MouseEvent::Kind::drag(terminal::MouseEvent::Button::left), x, y);
}
inline terminal::InputEvent release(std::int64_t x, std::int64_t y) {
    return mouse(terminal::MouseEvent::Kind::release(), x, y);
}
inline terminal::InputEvent wheel(terminal::MouseEvent::Direction direction, std::int64_t x = 0, std::int64_t y = 0,
                                  terminal::Modifiers modifiers = {}) {
    return mouse(terminal::MouseEvent::Kind::scroll(direction), x, y, modifiers);
}

}  // namespace tarv::ui::fixtures
