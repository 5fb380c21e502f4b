#include "TarvUI/Components/TagViews.hpp"

#include <algorithm>
#include <string>

#include "TarvFeatures/History/NewTagState.hpp"
#include "TarvFeatures/History/TagPickerState.hpp"
#include "TarvTerminal/Geometry/Layout.hpp"
#include "TarvUI/Components/DialogFrame.hpp"
#include "TarvUI/Components/PickerDialog.hpp"

namespace tarv::ui::TagViews {

using terminal::Rect;

void newTag(UIFrame& frame, const features::NewTagState& prompt) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const Rect box = DialogFrame::centred(screen, std::min<std::int64_t>(screen.width - 2, 60),
                                          std::min<std::int64_t>(screen.height - 2, 9));
    const Rect c = DialogFrame::open(frame, box, frame.text(core::Text::newTagTitle(prompt.commit.substr(0, 7))));
    terminal::Layout::RowStack rows(c);
    rows.skip();
    const Rect name = rows.take();
    rows.skip();
    const Rect message = rows.take();
    DialogFrame::textField(frame, name, prompt.name, frame.text(core::Text::tagNamePlaceholder()));
    if (!prompt.name.isEmpty() && !prompt.isValid()) {
        frame.canvas.draw(frame.text(core::Text::invalidTagName()), message.origin, DialogFrame::error(frame.styles),
                          message.size.width);
    }
    DialogFrame::drawButtons(
        frame, {DialogFrame::submit(frame, core::Text::buttonCreate()), DialogFrame::cancel(frame)}, rows.takeBottom());
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
