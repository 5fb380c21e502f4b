#include "TarvUI/Components/PaletteView.hpp"

#include <algorithm>
#include <string>

#include "TarvFeatures/Palette/PaletteState.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvUI/Components/DialogFrame.hpp"
#include "TarvUI/Components/PopoverView.hpp"
#include "TarvUI/Keymap/Keymap.hpp"

namespace tarv::ui::PaletteView {

using terminal::Point;
using terminal::Rect;

void draw(UIFrame& frame, const features::PaletteState& palette, const std::vector<core::AppCommand>& results) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const auto count = static_cast<std::int64_t>(results.size());
    const std::int64_t visible = std::clamp<std::int64_t>(count, 1, 12);
    const std::int64_t w = std::min<std::int64_t>(screen.width - 2, 72);
    const Rect box(std::max<std::int64_t>((screen.width - w) / 2, 0), 2, w,
                   std::min<std::int64_t>(screen.height - 2, visible + 4));
    DialogFrame::backdrop(frame);
    const Rect inner = PopoverView::draw(frame, box, frame.text(core::Text::commandsTitle()));
    if (inner.size.height < 3) return;
    const ThemeStyles& s = frame.styles;
    frame.canvas.draw("\u2315 ", inner.origin, s.popoverDim);
    DialogFrame::textField(frame, Rect(inner.minX() + 2, inner.minY(), inner.size.width - 2, 1), palette.query,
                           frame.text(core::Text::filterPlaceholder()));
    const Rect list(inner.minX(), inner.minY() + 1, inner.size.width, inner.size.height - 1);
    frame.viewports.picker = std::max<std::int64_t>(list.size.height, 1);
    DialogFrame::listArea(frame, list);
    if (count == 0) {
        frame.canvas.draw(frame.text(core::Text::emptyList()), list.origin, s.popoverDim);
        return;
    }
    const auto range = palette.list.visibleRange(count, list.size.height);
    for (std::int64_t i = range.lowerBound; i < range.upperBound; ++i) {
        const auto command = results[static_cast<std::size_t>(i)];
        const Rect row(list.minX(), list.minY() + (i - range.lowerBound), list.size.width, 1);
        const terminal::Style style = DialogFrame::listRow(frame, row, i, palette.list.selected);
        const std::string shortcut = frame.keymap.shortcut(command).value_or("");
        frame.canvas.draw(" " + frame.text(core::Text::command(command)), row.origin, style,
                          row.size.width - terminal::DisplayWidth::width(shortcut) - 3);
        if (!shortcut.empty()) {
            frame.canvas.drawRightAligned(shortcut, row.maxX() - 1, row.minY(),
                                          style.with(s.theme.accent.color(), std::nullopt));
        }
    }
}

}  // namespace tarv::ui::PaletteView
