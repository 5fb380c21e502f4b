#include "TarvUI/Components/DiffGeometry.hpp"

#include <algorithm>

namespace tarv::ui {

std::int64_t DiffGeometry::digits(std::int64_t n) {
    std::int64_t count = 1;
    while (n >= 10) {
        n /= 10;
        ++count;
    }
    return count;
}

DiffGeometry::Unified DiffGeometry::unified(const terminal::Rect& pane, std::int64_t rowCount,
                                            std::int64_t maxLineNumber, bool withSelection) {
    Unified g;
    g.numberWidth = digits(maxLineNumber);
    g.prefix = withSelection ? 3 : 1;
    g.gutter = g.prefix + 2 * g.numberWidth + 4;
    g.scrollBar = rowCount > pane.size.height;
    g.content = pane.size.width - (g.scrollBar ? 1 : 0);
    g.text = std::max<std::int64_t>(0, g.content - g.gutter);
    return g;
}

DiffGeometry::Split DiffGeometry::split(const terminal::Rect& pane, std::int64_t rowCount,
                                        std::int64_t maxLineNumber, bool withSelection) {
    Split g;
    g.numberWidth = digits(maxLineNumber);
    g.prefix = withSelection ? 3 : 1;
    g.scrollBar = rowCount > pane.size.height;
    g.content = pane.size.width - (g.scrollBar ? 1 : 0);
    const std::int64_t leftWidth = std::max<std::int64_t>(0, (g.content - 1) / 2);
    const std::int64_t rightWidth = std::max<std::int64_t>(0, g.content - leftWidth - 1);
    const auto side = [&](std::int64_t x, std::int64_t width) {
        Side s;
        s.area = terminal::Rect(x, pane.minY(), width, pane.size.height);
        s.gutter = std::min(g.prefix + g.numberWidth + 3, width);
        s.text = std::max<std::int64_t>(0, width - s.gutter);
        return s;
    };
    g.left = side(pane.minX(), leftWidth);
    g.divider = pane.minX() + leftWidth;
    g.right = side(pane.minX() + leftWidth + 1, rightWidth);
    return g;
}

}  // namespace tarv::ui
