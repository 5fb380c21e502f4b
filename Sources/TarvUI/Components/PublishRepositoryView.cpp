#include "TarvUI/Components/PublishRepositoryView.hpp"

#include <algorithm>
#include <string>

#include "TarvCore/Text/Trim.hpp"
#include "TarvFeatures/Sync/PublishRepositoryState.hpp"
#include "TarvTerminal/Geometry/Layout.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/TextWrapping.hpp"
#include "TarvUI/Components/DialogFrame.hpp"
#include "TarvUI/Components/ToolbarView.hpp"

namespace tarv::ui::PublishRepositoryView {

using features::AppAction;
using features::OverlayAction;
using features::PublishRepositoryState;
using Field = PublishRepositoryState::Field;
using terminal::Point;
using terminal::Rect;

namespace {

void field(UIFrame& frame, const Rect& rect, const core::EditableText& text, bool focused, Field which) {
    const auto cursor = frame.cursor;
    DialogFrame::textField(frame, rect, text, std::nullopt);
    if (!focused) frame.cursor = cursor;
    frame.hits.add(rect, HitRegion::pressing({AppAction(OverlayAction::FocusPublishField{which})}));
}

void visibility(UIFrame& frame, const PublishRepositoryState& prompt, const Rect& row) {
    const std::string label = frame.text(core::Text::publishPrivate());
    const Rect box(row.minX(), row.minY(), terminal::DisplayWidth::width(label) + 4, 1);
    const terminal::Style style =
        prompt.field == Field::visibility ? DialogFrame::highlighted(frame.styles) : frame.styles.popover;
    frame.canvas.fill(box, style);
    frame.canvas.draw(prompt.isPrivate ? "\u2611" : "\u2610", Point{box.minX() + 1, box.minY()}, style);
    frame.canvas.draw(label, Point{box.minX() + 3, box.minY()}, style);
    frame.hits.add(box, HitRegion::pressing({AppAction(OverlayAction::FocusPublishField{Field::visibility}),
                                             AppAction(OverlayAction::TogglePublishPrivate{})}));
}

// The failure as shown, wrapped to `width`; none while publishing. A
// server's error body can be long: it is cut before wrapping.
std::vector<std::string> errorLines(const UIFrame& frame, const PublishRepositoryState& prompt, std::int64_t width) {
    if (prompt.isPublishing || !prompt.error) return {};
    return terminal::TextWrapping::wrap(DialogFrame::bounded(frame.text(*prompt.error)), width);
}

// The name as it will be created, then the progress or the failure over it.
void status(UIFrame& frame, const PublishRepositoryState& prompt, const std::vector<std::string>& errors,
            const Rect& rows) {
    const ThemeStyles& s = frame.styles;
    const std::string sanitized = prompt.sanitizedName();
    if (sanitized != core::text::trimmed(prompt.name.text()) && prompt.isValid()) {
        frame.canvas.draw(frame.text(core::Text::newBranchWillBe(sanitized)), rows.origin, s.popoverDim,
                          rows.size.width);
    }
    if (prompt.isPublishing) {
        frame.canvas.draw(std::string(ToolbarView::spinnerFrame(frame.tick)) + " ", rows.origin, s.popover);
        frame.canvas.draw(frame.text(core::Text::publishing()), Point{rows.minX() + 2, rows.minY()}, s.popover);
        return;
    }
    const auto shown = std::min(static_cast<std::int64_t>(errors.size()), rows.size.height);
    for (std::int64_t i = 0; i < shown; ++i) {
        frame.canvas.draw(errors[static_cast<std::size_t>(i)], Point{rows.minX(), rows.minY() + i},
                          DialogFrame::error(s));
    }
}

}  // namespace

void draw(UIFrame& frame, const PublishRepositoryState& prompt) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const std::int64_t w = std::min<std::int64_t>(72, screen.width - 4);
    const auto errors = errorLines(frame, prompt, std::max<std::int64_t>(w - 4, 1));
    // Two status rows; a longer failure grows the box while the screen has room.
    const std::int64_t extra = std::min(std::max<std::int64_t>(static_cast<std::int64_t>(errors.size()) - 2, 0),
                                        std::max<std::int64_t>(screen.height - 18, 0));
    const Rect box = DialogFrame::centred(screen, w, std::min<std::int64_t>(16 + extra, screen.height - 2));
    terminal::Layout::RowStack rows(DialogFrame::open(frame, box, frame.text(core::Text::publishTitle())));
    const ThemeStyles& s = frame.styles;
    frame.canvas.draw(frame.text(core::Text::publishNameLabel()), rows.take().origin, s.popoverDim);
    field(frame, rows.take(), prompt.name, prompt.field == Field::name, Field::name);
    rows.skip();
    frame.canvas.draw(frame.text(core::Text::publishDescriptionLabel()), rows.take().origin, s.popoverDim);
    field(frame, rows.take(), prompt.description, prompt.field == Field::description, Field::description);
    rows.skip();
    visibility(frame, prompt, rows.take());
    rows.skip();
    status(frame, prompt, errors, rows.take(extra + 2));
    const Rect buttons = rows.takeBottom();
    rows.skipBottom();
    const Rect hint = rows.takeBottom();
    frame.canvas.draw(frame.text(core::Text::publishHint()), hint.origin, s.popoverDim, hint.size.width);
    DialogFrame::drawButtons(
        frame, {DialogFrame::submit(frame, core::Text::buttonPublish()), DialogFrame::cancel(frame)}, buttons);
}

}  // namespace tarv::ui::PublishRepositoryView
