#include "TarvUI/Components/StashPickerView.hpp"

#include <algorithm>
#include <string>

#include "TarvCore/Localization/RelativeTime.hpp"
#include "TarvFeatures/App/AppState.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvUI/Components/DialogFrame.hpp"

namespace tarv::ui::StashPickerView {

using terminal::Point;
using terminal::Rect;

void draw(UIFrame& frame, const features::AppState& state, const features::StashPickerState& picker) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const auto count = static_cast<std::int64_t>(picker.entries.size());
    const std::int64_t wanted = std::min<std::int64_t>(std::max<std::int64_t>(count, 1), 12);
    const std::int64_t w = std::min<std::int64_t>(screen.width - 2, 74);
    const Rect box(DialogFrame::centred(screen, w, 0).minX(), 3, w, std::min<std::int64_t>(screen.height - 2, wanted + 5));
    const Rect c = DialogFrame::open(frame, box, frame.text(core::Text::stashTitle()));
    const Rect list(c.minX(), c.minY(), c.size.width, std::max<std::int64_t>(c.size.height - 2, 0));
    frame.viewports.picker = std::max<std::int64_t>(list.size.height, 1);
    DialogFrame::listArea(frame, list);
    if (count == 0) {
        frame.canvas.draw(frame.text(core::Text::stashEmpty()), list.origin, frame.styles.popoverDim, c.size.width);
    }
    const auto range = picker.list.visibleRange(count, list.size.height);
    for (std::int64_t i = range.lowerBound; i < range.upperBound; ++i) {
        const auto& entry = picker.entries[static_cast<std::size_t>(i)];
        const Rect row(list.minX(), list.minY() + (i - range.lowerBound), c.size.width, 1);
        const terminal::Style style = DialogFrame::listRow(frame, row, i, picker.list.selected);
        const std::string age = frame.text(core::Text::relative(core::RelativeTime::between(entry.timestamp, state.now)));
        const std::string label = " \u2387 " + entry.branch.value_or("?") + "  " + entry.message;
        frame.canvas.draw(label, row.origin, style,
                          std::max<std::int64_t>(row.size.width - terminal::DisplayWidth::width(age) - 3, 1));
        frame.canvas.drawRightAligned(age, row.maxX() - 1, row.minY(),
                                      style.with(frame.styles.theme.textSecondary.color(), std::nullopt));
    }
    frame.canvas.draw(frame.text(core::Text::stashHint()), Point{c.minX(), c.maxY() - 1}, frame.styles.popoverDim,
                      c.size.width);
}

}  // namespace tarv::ui::StashPickerView
