#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "TarvCore/Models/LineRef.hpp"
#include "TarvCore/Models/TextEdit.hpp"
#include "TarvFeatures/App/AppAction.hpp"
#include "TarvTerminal/Geometry/Point.hpp"
#include "TarvTerminal/Input/InputEvent.hpp"
#include "TarvTerminal/Input/KeyEvent.hpp"
#include "TarvTerminal/Input/MouseEvent.hpp"
#include "TarvUI/Keymap/Keymap.hpp"
#include "TarvUI/Routing/ScrollBrake.hpp"
#include "TarvUI/Screens/RenderedFrame.hpp"

namespace tarv::features {
struct AppState;
}

namespace tarv::ui {

// Turns each decoded terminal event into the actions it means for the
// state, in order. Pure apart from its own small memory (the last click,
// a gutter or text drag under way, the wheel brake): it reads the state and
// the frame, performs no input or output, and takes instants only from the
// injected monotonic clock.
//
// Keys: an open overlay decides alone (the keymap is not consulted, ctrl-Q
// does not quit); otherwise the phase decides: onboarding and welcome have
// fixed tables, launching accepts only the quit keys, and the workspace goes
// through the keymap, except that while a text field has the keystrokes
// only function keys and control chords reach the global bindings and
// everything else edits the field.
//
// Mouse: presses, drags, releases and wheel ticks are resolved against the
// frame's hit regions (topmost first); vertical wheel ticks pass the brake
// first, and every key and press tells the brake of other input. A paste
// reaches a text field only; focus changes pass through.
//
// Behind the notice that the terminal is too small (the terminal's size tells)
// nothing is shown, so nothing acts but quitting: ctrl-Q and the keys bound
// to the quit command. Suspending and resizing are the runtime's own.
//
// The application's runtime owns one router and calls `route` for every
// event it does not handle itself, with a source of the frame drawn from the
// current state (wheel ticks may reuse the previous one): only mouse events
// read it, so keys, pastes and focus changes are routed without drawing.
class InputRouter {
public:
    using Clock = std::chrono::steady_clock;
    using Now = std::function<Clock::time_point()>;

    // Two primary presses on the same cell less than this apart are a
    // double click.
    static constexpr Clock::duration doubleClickInterval = std::chrono::milliseconds(450);
    // A move to the first or last entry of a list; the reducer clamps.
    static constexpr std::int64_t toEnd = 1000000;

    // `now` defaults to the monotonic clock; tests inject their own.
    explicit InputRouter(Keymap keymap = Keymap::standard(), Now now = {});

    // Gives the frame the state shows; asked only by events that need hit
    // regions, at most once per event.
    using FrameSource = std::function<const RenderedFrame&()>;

    // `size` is the terminal's; `frame` is drawn at that size.
    std::vector<features::AppAction> route(const terminal::InputEvent& event, const features::AppState& state,
                                           terminal::Size size, const FrameSource& frame);
    // The same against a frame drawn already (its size is the terminal's).
    std::vector<features::AppAction> route(const terminal::InputEvent& event, const features::AppState& state,
                                           const RenderedFrame& frame);

    // What a key means for the state; reads nothing of a router.
    static std::vector<features::AppAction> routeKey(const terminal::KeyEvent& key, const features::AppState& state,
                                                     const Keymap& keymap);

    // The edit a key makes in a text field, or none: control letters
    // a e u k w d, plain or shifted characters (never with alt), the
    // backspace (with alt: a word), delete, arrows, home and end.
    static std::optional<core::TextEdit> textEdit(const terminal::KeyEvent& key);

    // A character key with no modifier but perhaps shift.
    static bool isPrintable(const terminal::KeyEvent& key);

    const Keymap& keymap() const { return keymap_; }

private:
    struct LastClick {
        terminal::Point point;
        Clock::time_point time;
    };
    struct GutterDrag {
        core::LineRef anchor;
        bool selected = false;
    };

    static std::vector<features::AppAction> quitOnly(const terminal::KeyEvent& key, const features::AppState& state,
                                                     const Keymap& keymap);
    static std::vector<features::AppAction> onboardingKey(const terminal::KeyEvent& key,
                                                          const features::AppState& state);
    static std::vector<features::AppAction> welcomeKey(const terminal::KeyEvent& key);
    static std::vector<features::AppAction> workspaceKey(const terminal::KeyEvent& key,
                                                         const features::AppState& state, const Keymap& keymap);
    static std::vector<features::AppAction> editingKey(const terminal::KeyEvent& key,
                                                       const features::AppState& state);
    static std::vector<features::AppAction> overlayKey(const terminal::KeyEvent& key,
                                                       const features::AppState& state, const Keymap& keymap);

    std::vector<features::AppAction> routeMouse(const terminal::MouseEvent& event, const features::AppState& state,
                                                const RenderedFrame& frame, Clock::time_point now);
    std::vector<features::AppAction> primaryPress(const terminal::MouseEvent& event,
                                                  const features::AppState& state, const RenderedFrame& frame,
                                                  Clock::time_point now);
    std::vector<features::AppAction> drag(const terminal::MouseEvent& event, const RenderedFrame& frame) const;
    std::vector<features::AppAction> release(const features::AppState& state);
    static std::vector<features::AppAction> scroll(const HitRegion::ScrollTarget& target,
                                                   terminal::MouseEvent::Direction direction, bool shift);

    Clock::time_point now() const { return now_ ? now_() : Clock::now(); }

    std::optional<LastClick> lastClick_;
    std::optional<GutterDrag> gutterDrag_;
    bool textDrag_ = false;
    ScrollBrake scrollBrake_;
    Keymap keymap_;
    Now now_;
};

}  // namespace tarv::ui
