#include "TarvUI/Components/SignInView.hpp"

#include <algorithm>
#include <string>
#include <variant>

#include "TarvFeatures/Auth/SignInState.hpp"
#include "TarvTerminal/Geometry/Layout.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/Grapheme.hpp"
#include "TarvUI/Components/DialogFrame.hpp"

namespace tarv::ui::SignInView {

using features::SignInState;
using terminal::Point;
using terminal::Rect;

namespace {

using Rows = terminal::Layout::RowStack;

// A user code is a handful of characters; a longer answer is cut.
constexpr std::size_t codeLimit = 64;

void show(UIFrame& frame, const SignInState::Status::Waiting& waiting, Rows& rows) {
    const ThemeStyles& s = frame.styles;
    rows.skip();
    const Rect instructions = rows.take();
    rows.skip();
    const Rect codeRow = rows.take();
    rows.skip();
    const Rect note = rows.take();
    frame.canvas.draw(frame.text(core::Text::signInInstructions(DialogFrame::bounded(waiting.code.verificationURL))),
                      instructions.origin, s.popover, instructions.size.width);
    const std::string code = spaced(DialogFrame::bounded(waiting.code.userCode, codeLimit));
    const std::int64_t x =
        codeRow.minX() + std::max<std::int64_t>((codeRow.size.width - terminal::DisplayWidth::width(code)) / 2, 0);
    const terminal::Attributes bold{terminal::Attributes::bold};
    frame.canvas.draw(code, Point{x, codeRow.minY()}, s.popoverBorder.with(std::nullopt, std::nullopt, bold));
    frame.canvas.draw(frame.text(core::Text::signInWaiting()), note.origin, s.popoverDim, note.size.width);
    DialogFrame::drawButtons(frame,
                             {DialogFrame::confirm(frame, core::Text::signInCopyAndOpen()), DialogFrame::cancel(frame)},
                             rows.takeBottom());
}

// The failure takes up to four lines.
void show(UIFrame& frame, const SignInState::Status::Failed& failed, Rows& rows) {
    rows.skip();
    const Rect message = rows.take(4);
    DialogFrame::drawWrapped(frame, frame.text(failed.message), message.origin, message.size.width,
                             message.size.height, DialogFrame::error(frame.styles));
    DialogFrame::drawButtons(frame,
                             {DialogFrame::confirm(frame, core::Text::onboardingRetry()), DialogFrame::cancel(frame)},
                             rows.takeBottom());
}

void show(UIFrame& frame, const SignInState::Status::Requesting& /*requesting*/, Rows& rows) {
    rows.skip();
    const Rect note = rows.take();
    frame.canvas.draw(frame.text(core::Text::signInRequesting()), note.origin, frame.styles.popoverDim,
                      note.size.width);
    DialogFrame::drawButtons(frame, {DialogFrame::cancel(frame)}, rows.takeBottom());
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
    const Rect box = DialogFrame::centred(screen, std::min<std::int64_t>(64, screen.width - 4),
                                          std::min<std::int64_t>(11, screen.height - 2));
    Rows rows(DialogFrame::open(frame, box, frame.text(core::Text::signInTitle())));
    std::visit([&](const auto& status) { show(frame, status, rows); }, state.status.value);
}

}  // namespace tarv::ui::SignInView
