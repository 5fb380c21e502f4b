#include "TarvUI/Components/PublishRepositoryView.hpp"

#include <algorithm>
#include <string>

#include "TarvCore/Text/Trim.hpp"
#include "TarvFeatures/Sync/PublishRepositoryState.hpp"
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

void visibility(UIFrame& frame, const PublishRepositoryState& prompt, const Rect& c) {
    const std::string label = frame.text(core::Text::publishPrivate());
    const Rect row(c.minX(), c.minY() + 6, terminal::DisplayWidth::width(label) + 4, 1);
    const terminal::Style style =
        prompt.field == Field::visibility ? DialogFrame::highlighted(frame.styles) : frame.styles.popover;
    frame.canvas.fill(row, style);
    frame.canvas.draw(prompt.isPrivate ? "\u2611" : "\u2610", Point{c.minX() + 1, row.minY()}, style);
    frame.canvas.draw(label, Point{c.minX() + 3, row.minY()}, style);
    frame.hits.add(row, HitRegion::pressing({AppAction(OverlayAction::FocusPublishField{Field::visibility}),
                                             AppAction(OverlayAction::TogglePublishPrivate{})}));
}

}  // namespace

void draw(UIFrame& frame, const PublishRepositoryState& prompt) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const std::int64_t w = std::min<std::int64_t>(72, screen.width - 4);
    std::vector<std::string> errorLines;
    if (!prompt.isPublishing && prompt.error) {
        // A server's error body can be long: it is cut before wrapping.
        errorLines = terminal::TextWrapping::wrap(DialogFrame::bounded(frame.text(*prompt.error)),
                                                  std::max<std::int64_t>(std::min<std::int64_t>(screen.width - 4, 72) - 4, 1));
    }
    const auto n = static_cast<std::int64_t>(errorLines.size());
    const std::int64_t extra =
        std::min(std::max<std::int64_t>(n - 2, 0), std::max<std::int64_t>(screen.height - 18, 0));
    const std::int64_t h = std::min<std::int64_t>(16 + extra, screen.height - 2);
    const Rect box(std::max<std::int64_t>((screen.width - w) / 2, 0), std::max<std::int64_t>((screen.height - h) / 2, 0),
                   w, h);
    const Rect c = DialogFrame::open(frame, box, frame.text(core::Text::publishTitle()));
    const ThemeStyles& s = frame.styles;
    frame.canvas.draw(frame.text(core::Text::publishNameLabel()), c.origin, s.popoverDim);
    field(frame, Rect(c.minX(), c.minY() + 1, c.size.width, 1), prompt.name, prompt.field == Field::name, Field::name);
    frame.canvas.draw(frame.text(core::Text::publishDescriptionLabel()), Point{c.minX(), c.minY() + 3}, s.popoverDim);
    field(frame, Rect(c.minX(), c.minY() + 4, c.size.width, 1), prompt.description, prompt.field == Field::description,
          Field::description);
    visibility(frame, prompt, c);
    const std::string sanitized = prompt.sanitizedName();
    if (sanitized != core::text::trimmed(prompt.name.text()) && prompt.isValid()) {
        frame.canvas.draw(frame.text(core::Text::newBranchWillBe(sanitized)), Point{c.minX(), c.minY() + 8},
                          s.popoverDim, c.size.width);
    }
    if (prompt.isPublishing) {
        frame.canvas.draw(std::string(ToolbarView::spinnerFrame(frame.tick)) + " ", Point{c.minX(), c.minY() + 8},
                          s.popover);
        frame.canvas.draw(frame.text(core::Text::publishing()), Point{c.minX() + 2, c.minY() + 8}, s.popover);
    } else {
        for (std::int64_t i = 0; i < n && i < extra + 2; ++i) {
            frame.canvas.draw(errorLines[static_cast<std::size_t>(i)], Point{c.minX(), c.minY() + 8 + i},
                              DialogFrame::error(s));
        }
    }
    frame.canvas.draw(frame.text(core::Text::publishHint()), Point{c.minX(), c.maxY() - 3}, s.popoverDim, c.size.width);
    DialogFrame::drawButtons(frame,
                             {{DialogFrame::label(frame, core::Text::buttonPublish(), "\u23CE"), s.button,
                               {AppAction(OverlayAction::Submitted{})}},
                              {DialogFrame::label(frame, core::Text::cancel(), "Esc"), DialogFrame::secondary(s),
                               {AppAction(OverlayAction::Dismiss{})}}},
                             c.minX(), c.maxY() - 1);
}

}  // namespace tarv::ui::PublishRepositoryView
