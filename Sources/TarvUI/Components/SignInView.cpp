#include "TarvUI/Components/SignInView.hpp"

#include <algorithm>
#include <string>
#include <variant>

#include "TarvFeatures/Auth/SignInState.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/Grapheme.hpp"
#include "TarvUI/Components/DialogFrame.hpp"

namespace tarv::ui::SignInView {

using features::AppAction;
using features::OverlayAction;
using features::SignInState;
using terminal::Point;
using terminal::Rect;

namespace {

// A user code is a handful of characters; a longer answer is cut.
constexpr std::size_t codeLimit = 64;

DialogFrame::Button cancel(const UIFrame& frame) {
    return {DialogFrame::label(frame, core::Text::cancel(), "Esc"), DialogFrame::secondary(frame.styles),
            {AppAction(OverlayAction::Dismiss{})}};
}

DialogFrame::Button confirm(const UIFrame& frame, const core::Text& text) {
    return {DialogFrame::label(frame, text, "\u23CE"), frame.styles.button, {AppAction(OverlayAction::Confirm{})}};
}

}  // namespace

std::string spaced(std::string_view code) {
    std::string out;
    terminal::GraphemeCursor cursor(code);
    terminal::Grapheme grapheme;
    while (cursor.next(grapheme)) {
        if (!out.empty()) out += ' ';
        grapheme.appendTo(out);
    }
    return out;
}

void draw(UIFrame& frame, const SignInState& state) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const std::int64_t w = std::min<std::int64_t>(64, screen.width - 4);
    const std::int64_t h = std::min<std::int64_t>(11, screen.height - 2);
    const Rect box(std::max<std::int64_t>((screen.width - w) / 2, 0), std::max<std::int64_t>((screen.height - h) / 2, 0),
                   w, h);
    const Rect c = DialogFrame::open(frame, box, frame.text(core::Text::signInTitle()));
    const ThemeStyles& s = frame.styles;
    const std::int64_t buttonRow = c.maxY() - 1;
    const auto& status = state.status.value;
    if (const auto* waiting = std::get_if<SignInState::Status::Waiting>(&status)) {
        frame.canvas.draw(frame.text(core::Text::signInInstructions(DialogFrame::bounded(waiting->code.verificationURL))),
                          Point{c.minX(), c.minY() + 1}, s.popover, c.size.width);
        const std::string code = spaced(DialogFrame::bounded(waiting->code.userCode, codeLimit));
        const std::int64_t x =
            c.minX() + std::max<std::int64_t>((c.size.width - terminal::DisplayWidth::width(code)) / 2, 0);
        frame.canvas.draw(code, Point{x, c.minY() + 3},
                          s.popoverBorder.with(std::nullopt, std::nullopt, terminal::Attributes{terminal::Attributes::bold}));
        frame.canvas.draw(frame.text(core::Text::signInWaiting()), Point{c.minX(), c.minY() + 5}, s.popoverDim,
                          c.size.width);
        DialogFrame::drawButtons(frame, {confirm(frame, core::Text::signInCopyAndOpen()), cancel(frame)}, c.minX(),
                                 buttonRow);
    } else if (const auto* failed = std::get_if<SignInState::Status::Failed>(&status)) {
        DialogFrame::drawWrapped(frame, frame.text(failed->message), Point{c.minX(), c.minY() + 1}, c.size.width, 4,
                                 DialogFrame::error(s));
        DialogFrame::drawButtons(frame, {confirm(frame, core::Text::onboardingRetry()), cancel(frame)}, c.minX(),
                                 buttonRow);
    } else {
        frame.canvas.draw(frame.text(core::Text::signInRequesting()), Point{c.minX(), c.minY() + 1}, s.popoverDim,
                          c.size.width);
        DialogFrame::drawButtons(frame, {cancel(frame)}, c.minX(), buttonRow);
    }
}

}  // namespace tarv::ui::SignInView
