#include "TarvUI/Components/UIFrame.hpp"

#include <algorithm>

#include "TarvTerminal/Text/DisplayWidth.hpp"

namespace tarv::ui {

UIFrame::Slice UIFrame::visibleSlice(const core::EditableText& text, std::int64_t width) {
    if (width < 1) return Slice{};
    const auto& characters = text.characters();
    const auto count = static_cast<std::int64_t>(characters.size());
    const std::int64_t cursor = std::clamp<std::int64_t>(text.cursor(), 0, count);
    const auto widthAt = [&](std::int64_t i) {
        return terminal::DisplayWidth::characterWidth(characters[static_cast<std::size_t>(i)]);
    };

    // Walk back from the cursor while what lies before it stays narrower
    // than the field, so one column remains for the cursor itself. Only the
    // characters near the cursor are measured.
    std::int64_t start = cursor;
    std::int64_t before = 0;
    while (start > 0 && before + widthAt(start - 1) < width) {
        before += widthAt(start - 1);
        --start;
    }

    Slice slice;
    slice.cursorColumn = before;
    std::int64_t used = 0;
    for (std::int64_t i = start; i < count; ++i) {
        const std::int64_t w = widthAt(i);
        if (used + w > width) break;
        used += w;
        slice.text += characters[static_cast<std::size_t>(i)];
    }
    return slice;
}

}  // namespace tarv::ui
