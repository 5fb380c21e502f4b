#include <gtest/gtest.h>

#include "TarvUI/Layout/WorkspaceLayout.hpp"

namespace tarv::ui {
namespace {

using features::WorkspaceFocus;
using features::WorkspaceTab;
using terminal::Rect;
using terminal::Size;

TEST(WorkspaceLayout, WorkedWidths) {
    struct Case {
        std::int64_t width;
        WorkspaceTab tab;
        WorkspaceFocus focus;
        std::int64_t a;
        std::int64_t b;
        std::optional<Rect> sidebar;
        std::optional<Rect> middle;
        std::optional<Rect> main;
    };
    const auto files = WorkspaceFocus::files;
    const auto changes = WorkspaceTab::changes;
    const auto history = WorkspaceTab::history;
    const Case cases[] = {
        {70, changes, files, 28, 20, Rect(0, 4, 28, 35), std::nullopt, Rect(29, 4, 41, 35)},
        {79, changes, files, 31, 20, Rect(0, 4, 31, 35), std::nullopt, Rect(32, 4, 47, 35)},
        {80, changes, files, 30, 20, Rect(0, 4, 30, 35), std::nullopt, Rect(31, 4, 49, 35)},
        {100, changes, files, 34, 22, Rect(0, 4, 34, 35), std::nullopt, Rect(35, 4, 65, 35)},
        {109, history, WorkspaceFocus::historyList, 34, 25, Rect(0, 4, 34, 35), std::nullopt, Rect(35, 4, 74, 35)},
        {110, history, WorkspaceFocus::historyList, 34, 25, Rect(0, 4, 34, 35), Rect(35, 4, 28, 35),
         Rect(64, 4, 46, 35)},
        {110, changes, files, 34, 25, Rect(0, 4, 34, 35), std::nullopt, Rect(35, 4, 75, 35)},
        {120, history, WorkspaceFocus::historyDiff, 38, 27, Rect(0, 4, 38, 35), Rect(39, 4, 28, 35),
         Rect(68, 4, 52, 35)},
        {120, changes, WorkspaceFocus::diff, 38, 27, Rect(0, 4, 38, 35), std::nullopt, Rect(39, 4, 81, 35)},
        {60, changes, files, 24, 18, Rect(0, 4, 60, 35), std::nullopt, std::nullopt},
        {60, changes, WorkspaceFocus::diff, 24, 18, std::nullopt, std::nullopt, Rect(0, 4, 60, 35)},
        {60, history, WorkspaceFocus::historyDiff, 24, 18, std::nullopt, std::nullopt, Rect(0, 4, 60, 35)},
        {60, history, WorkspaceFocus::historyFiles, 24, 18, Rect(0, 4, 60, 35), std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto layout = WorkspaceLayout::make(Size{c.width, 40}, c.tab, c.focus);
        SCOPED_TRACE(c.width);
        EXPECT_EQ(layout.isCompact, c.width < 70);
        EXPECT_EQ(layout.sidebar, c.sidebar);
        EXPECT_EQ(layout.middle, c.middle);
        EXPECT_EQ(layout.main, c.main);
        EXPECT_EQ(layout.toolbar, Rect(0, 0, c.width, 3));
        EXPECT_EQ(layout.tabs, Rect(0, 3, c.width, 1));
        EXPECT_EQ(layout.hint, Rect(0, 39, c.width, 1));
        EXPECT_EQ(layout.toast, layout.hint);
        const std::vector<Rect> segments = {Rect(0, 0, c.a, 2), Rect(c.a + 1, 0, c.b, 2),
                                            Rect(c.a + c.b + 2, 0, c.width - c.a - c.b - 2, 2)};
        EXPECT_EQ(layout.segments, segments);
    }
}

TEST(WorkspaceLayout, ShortTerminalsHaveEmptyPanesAndTheHintOnTheLastRow) {
    for (std::int64_t height : {1, 5, 6}) {
        const auto layout = WorkspaceLayout::make(Size{80, height}, WorkspaceTab::changes, WorkspaceFocus::files);
        EXPECT_EQ(layout.sidebar->size.height, std::max<std::int64_t>(height - 5, 0));
        EXPECT_EQ(layout.hint, Rect(0, height - 1, 80, 1));
    }
}

TEST(WorkspaceLayout, ThirdSegmentNeverNegative) {
    // Compact widths where a + b + 2 exceeds the width.
    for (std::int64_t width : {0, 1, 3}) {
        const auto layout = WorkspaceLayout::make(Size{width, 20}, WorkspaceTab::changes, WorkspaceFocus::files);
        EXPECT_EQ(layout.segments[2].size.width, 0) << width;
    }
    EXPECT_EQ(WorkspaceLayout::minimumSize, (Size{50, 14}));
}

}  // namespace
}  // namespace tarv::ui
