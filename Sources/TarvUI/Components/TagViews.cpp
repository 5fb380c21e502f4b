#include "TarvUI/Components/TagViews.hpp"

#include <algorithm>
#include <string>

#include "TarvFeatures/History/NewTagState.hpp"
#include "TarvFeatures/History/TagPickerState.hpp"
#include "TarvUI/Components/DialogFrame.hpp"
#include "TarvUI/Components/PickerDialog.hpp"

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
    const PickerDialog::Layout layout{frame.text(core::Text::tagsTitle()), frame.text(core::Text::tagsEmpty()),
                                      frame.text(core::Text::tagsHint()), static_cast<std::int64_t>(picker.tags.size()),
                                      64, 2};
    PickerDialog::draw(frame, layout, picker.list, [&](std::int64_t i, const Rect& row, const terminal::Style& style) {
        const auto& tag = picker.tags[static_cast<std::size_t>(i)];
        frame.canvas.draw(" \u25C6 " + tag.name, row.origin, style, std::max<std::int64_t>(row.size.width - 10, 1));
        PickerDialog::drawRight(frame, row, style, tag.commit.substr(0, 7));
    });
}

}  // namespace tarv::ui::TagViews
