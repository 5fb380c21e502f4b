#include "TarvUI/Components/PopoverView.hpp"

#include <algorithm>

namespace tarv::ui::PopoverView {

terminal::Rect draw(UIFrame& frame, const terminal::Rect& rect, std::string_view title) {
    frame.canvas.fill(rect, frame.styles.popover);
    frame.canvas.box(rect, frame.styles.popoverBorder, title);
    frame.hits.add(rect, HitRegion{});
    return terminal::Rect(rect.minX() + 2, rect.minY() + 1, std::max<std::int64_t>(rect.size.width - 4, 0),
                          std::max<std::int64_t>(rect.size.height - 2, 0));
}

}  // namespace tarv::ui::PopoverView
