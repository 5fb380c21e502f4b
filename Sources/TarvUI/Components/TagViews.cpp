#include "TarvUI/Components/TagViews.hpp"

#include <algorithm>
#include <string>

#include "TarvFeatures/History/NewTagState.hpp"
#include "TarvFeatures/History/TagPickerState.hpp"
#include "TarvUI/Components/DialogFrame.hpp"

namespace tarv::ui::TagViews {

using features::OverlayAction;
using terminal::Point;
using terminal::Rect;

void newTag(UIFrame& frame, const features::NewTagState& prompt) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const Rect box = DialogFrame::centred(screen, std::min<std::int64_t>(screen.width - 2, 60),
                                          std::min<std::int64_t>(screen.height - 2, 9));
    const Rect c = DialogFrame::open(frame, box, frame.text(core::Text::newTagTitle(prompt.commit.substr(0, 7))));
    DialogFrame::textField(frame, Rect(c.minX(), c.minY() + 1, c.size.width, 1), prompt.name,
                           frame.text(core::Text::tagNamePlaceholder()));
    if (!prompt.name.isEmpty() && !prompt.isValid()) {
        frame.canvas.draw(frame.text(core::Text::invalidTagName()), Point{c.minX(), c.minY() + 3},
                          DialogFrame::error(frame.styles), c.size.width);
    }
    DialogFrame::drawButtons(frame,
                             {{DialogFrame::label(frame, core::Text::buttonCreate(), "\u23CE"),
                               DialogFrame::primary(frame.styles),
                               {DialogFrame::overlayAction(OverlayAction::Submitted{})}},
                              {DialogFrame::label(frame, core::Text::cancel(), "Esc"),
                               DialogFrame::secondary(frame.styles),
                               {DialogFrame::overlayAction(OverlayAction::Dismiss{})}}},
                             c.minX(), c.maxY() - 1);
}

void picker(UIFrame& frame, const features::AppState& /*state*/, const features::TagPickerState& picker) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const auto count = static_cast<std::int64_t>(picker.tags.size());
    const std::int64_t wanted = std::min<std::int64_t>(std::max<std::int64_t>(count, 1), 12);
    const std::int64_t w = std::min<std::int64_t>(screen.width - 2, 64);
    const Rect box((screen.width - w) / 2, 3, w, std::min<std::int64_t>(screen.height - 2, wanted + 5));
    const Rect c = DialogFrame::open(frame, box, frame.text(core::Text::tagsTitle()));
    const Rect list(c.minX(), c.minY(), c.size.width, std::max<std::int64_t>(c.size.height - 2, 0));
    frame.viewports.picker = std::max<std::int64_t>(list.size.height, 1);
    DialogFrame::listArea(frame, list);
    if (count == 0) {
        frame.canvas.draw(frame.text(core::Text::tagsEmpty()), list.origin, frame.styles.popoverDim, c.size.width);
    }
    const auto range = picker.list.visibleRange(count, list.size.height);
    for (std::int64_t i = range.lowerBound; i < range.upperBound; ++i) {
        const auto& tag = picker.tags[static_cast<std::size_t>(i)];
        const Rect row(list.minX(), list.minY() + (i - range.lowerBound), list.size.width, 1);
        const terminal::Style style = DialogFrame::listRow(frame, row, i, picker.list.selected);
        frame.canvas.draw(" \u25C6 " + tag.name, row.origin, style, std::max<std::int64_t>(row.size.width - 10, 1));
        frame.canvas.drawRightAligned(tag.commit.substr(0, 7), row.maxX() - 1, row.minY(),
                                      style.with(frame.styles.theme.textSecondary.color(), std::nullopt));
    }
    frame.canvas.draw(frame.text(core::Text::tagsHint()), Point{c.minX(), c.maxY() - 1}, frame.styles.popoverDim,
                      c.size.width);
}

}  // namespace tarv::ui::TagViews
