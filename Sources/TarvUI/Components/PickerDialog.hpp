#pragma once

#include <cstdint>
#include <string>

#include "TarvCore/Models/ListScroll.hpp"
#include "TarvTerminal/Geometry/Rect.hpp"
#include "TarvTerminal/Style/Style.hpp"
#include "TarvUI/Components/DialogFrame.hpp"
#include "TarvUI/Components/UIFrame.hpp"

// The list dialogs of the overlays (tags, worktrees, stashes): a titled box
// near the top of the screen, as wide as `maxWidth` allows (leaving `margin`
// columns), tall enough for up to 12 rows, the list with its viewport, a
// message when it is empty, and the hint on the last row.
namespace tarv::ui::PickerDialog {

struct Layout {
    std::string title;
    std::string empty;
    std::string hint;
    std::int64_t count = 0;
    std::int64_t maxWidth = 0;
    std::int64_t margin = 2;
};

// Draws the dialog with its empty message and hint, registers the list's
// viewport and regions, and returns the list's area.
terminal::Rect open(UIFrame& frame, const Layout& layout);

// Text on the right of a row in the secondary colour, ending one column
// before the row's end.
void drawRight(UIFrame& frame, const terminal::Rect& row, const terminal::Style& style, const std::string& text);

// Draws the dialog, then each visible row: `drawRow(index, rect, style)`
// with the row's rectangle and style (highlighted when selected).
template <class DrawRow>
void draw(UIFrame& frame, const Layout& layout, const core::ListScroll& list, DrawRow&& drawRow) {
    const terminal::Rect area = open(frame, layout);
    const auto range = list.visibleRange(layout.count, area.size.height);
    for (std::int64_t i = range.lowerBound; i < range.upperBound; ++i) {
        const terminal::Rect row(area.minX(), area.minY() + (i - range.lowerBound), area.size.width, 1);
        drawRow(i, row, DialogFrame::listRow(frame, row, i, list.selected));
    }
}

}  // namespace tarv::ui::PickerDialog
