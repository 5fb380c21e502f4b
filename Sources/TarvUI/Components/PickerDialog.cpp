#include "TarvUI/Components/PickerDialog.hpp"

#include <algorithm>

namespace tarv::ui::PickerDialog {

using terminal::Point;
using terminal::Rect;

Rect open(UIFrame& frame, const Layout& layout) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const std::int64_t wanted = std::min<std::int64_t>(std::max<std::int64_t>(layout.count, 1), 12);
    const std::int64_t w = std::min<std::int64_t>(screen.width - layout.margin, layout.maxWidth);
    const Rect box(DialogFrame::centred(screen, w, 0).minX(), 3, w,
                   std::min<std::int64_t>(screen.height - 2, wanted + 5));
    const Rect c = DialogFrame::open(frame, box, layout.title);
    const Rect list(c.minX(), c.minY(), c.size.width, std::max<std::int64_t>(c.size.height - 2, 0));
    frame.viewports.picker = std::max<std::int64_t>(list.size.height, 1);
    DialogFrame::listArea(frame, list);
    if (layout.count == 0) frame.canvas.draw(layout.empty, list.origin, frame.styles.popoverDim, c.size.width);
    frame.canvas.draw(layout.hint, Point{c.minX(), c.maxY() - 1}, frame.styles.popoverDim, c.size.width);
    return list;
}

void drawRight(UIFrame& frame, const Rect& row, const terminal::Style& style, const std::string& text) {
    frame.canvas.drawRightAligned(text, row.maxX() - 1, row.minY(),
                                  style.with(frame.styles.theme.textSecondary.color(), std::nullopt));
}

}  // namespace tarv::ui::PickerDialog
