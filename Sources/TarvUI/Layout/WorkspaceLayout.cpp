#include "TarvUI/Layout/WorkspaceLayout.hpp"

#include <algorithm>
#include <cstdint>

namespace tarv::ui {

using terminal::Rect;

namespace {

constexpr std::int64_t compactBelow = 70;
constexpr std::int64_t middleFrom = 110;
constexpr std::int64_t middleWidth = 28;

std::int64_t sidebarWidth(std::int64_t width) {
    if (width < 80) return width * 40 / 100;
    if (width < 100) return 30;
    if (width < 120) return 34;
    return 38;
}

}  // namespace

WorkspaceLayout WorkspaceLayout::make(terminal::Size size, features::WorkspaceTab tab,
                                      features::WorkspaceFocus focus) {
    const std::int64_t width = size.width;
    const std::int64_t height = size.height;
    const std::int64_t paneHeight = std::max<std::int64_t>(height - 5, 0);

    WorkspaceLayout layout;
    layout.toolbar = Rect(0, 0, width, 3);
    layout.tabs = Rect(0, 3, width, 1);
    layout.hint = Rect(0, height - 1, width, 1);
    layout.toast = layout.hint;
    layout.isCompact = width < compactBelow;

    std::int64_t a = 0;
    std::int64_t b = 0;
    if (layout.isCompact) {
        const bool diffFocused =
            focus == features::WorkspaceFocus::diff || focus == features::WorkspaceFocus::historyDiff;
        (diffFocused ? layout.main : layout.sidebar) = Rect(0, 4, width, paneHeight);
        a = width * 40 / 100;
        b = width * 30 / 100;
    } else {
        const std::int64_t s = sidebarWidth(width);
        layout.sidebar = Rect(0, 4, s, paneHeight);
        if (tab == features::WorkspaceTab::history && width >= middleFrom) {
            layout.middle = Rect(s + 1, 4, middleWidth, paneHeight);
            layout.main = Rect(s + middleWidth + 2, 4, width - s - middleWidth - 2, paneHeight);
        } else {
            layout.main = Rect(s + 1, 4, width - s - 1, paneHeight);
        }
        a = s;
        b = width - s < 60 ? 20 : std::min<std::int64_t>((width - s) / 3, 30);
    }
    layout.segments = {Rect(0, 0, a, 2), Rect(a + 1, 0, b, 2),
                       Rect(a + b + 2, 0, std::max<std::int64_t>(width - a - b - 2, 0), 2)};
    return layout;
}

}  // namespace tarv::ui
