#include "TarvTerminal/Widgets/ScrollBar.hpp"

#include <algorithm>

namespace tarv::terminal::ScrollBar {

std::optional<Thumb> thumb(std::int64_t height, std::int64_t offset, std::int64_t total, std::int64_t viewport) {
    if (height < 1 || total <= viewport || viewport < 1) return std::nullopt;
    const std::int64_t length = std::max<std::int64_t>(height * viewport / total, 1);
    const std::int64_t track = height - length;
    const std::int64_t start = track == 0 ? 0 : std::min(offset * track / (total - viewport), track);
    return Thumb{start, length};
}

std::optional<Rect> draw(Canvas& canvas, std::int64_t x, std::int64_t y, std::int64_t height, std::int64_t offset,
                         std::int64_t total, std::int64_t viewport, const Style& trackStyle,
                         const Style& thumbStyle) {
    const auto t = thumb(height, offset, total, viewport);
    if (!t) return std::nullopt;
    for (std::int64_t row = y; row < y + height; ++row) canvas.setCell(Cell{"\xE2\x94\x82", trackStyle, false}, x, row);
    for (std::int64_t row = y + t->start; row < y + t->start + t->length; ++row) {
        canvas.setCell(Cell{"\xE2\x94\x83", thumbStyle, false}, x, row);
    }
    return Rect(x, y + t->start, 1, t->length);
}

}  // namespace tarv::terminal::ScrollBar
