#include "TarvUI/Components/StashPickerView.hpp"

#include <algorithm>
#include <string>

#include "TarvCore/Localization/RelativeTime.hpp"
#include "TarvFeatures/App/AppState.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvUI/Components/PickerDialog.hpp"

namespace tarv::ui::StashPickerView {

using terminal::Rect;

void draw(UIFrame& frame, const features::AppState& state, const features::StashPickerState& picker) {
    const PickerDialog::Layout layout{frame.text(core::Text::stashTitle()), frame.text(core::Text::stashEmpty()),
                                      frame.text(core::Text::stashHint()),
                                      static_cast<std::int64_t>(picker.entries.size()), 74, 2};
    PickerDialog::draw(frame, layout, picker.list, [&](std::int64_t i, const Rect& row, const terminal::Style& style) {
        const auto& entry = picker.entries[static_cast<std::size_t>(i)];
        const std::string age = frame.text(core::Text::relative(core::RelativeTime::between(entry.timestamp, state.now)));
        const std::string label = " \u2387 " + entry.branch.value_or("?") + "  " + entry.message;
        frame.canvas.draw(label, row.origin, style,
                          std::max<std::int64_t>(row.size.width - terminal::DisplayWidth::width(age) - 3, 1));
        PickerDialog::drawRight(frame, row, style, age);
    });
}

}  // namespace tarv::ui::StashPickerView
