// The help on the off-screen grid: on any screen every row can be scrolled
// into view, each key row has its description beside it, and a description
// too long for its column goes on in the next line instead of being cut.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvUI/Components/HelpView.hpp"
#include "TarvUITests/FrameFixtures.hpp"

namespace tarv::ui {
namespace {

using terminal::Size;

// The help drawn at `size` from line `offset` on.
UIFrame helpAt(Size size, std::int64_t offset) {
    UIFrame frame = fixtures::frame(size);
    features::Overlay::Help help;
    help.list.offset = offset;
    HelpView::draw(frame, help);
    return frame;
}

std::string screenText(const UIFrame& frame) {
    std::string out;
    for (std::int64_t y = 0; y < frame.canvas.bounds().size.height; ++y) out += fixtures::row(frame, y) + "\n";
    return out;
}

TEST(HelpViewScrolling, EveryRowCanBeScrolledIntoViewWithItsDescription) {
    for (const Size size : {Size{80, 24}, Size{120, 40}, Size{200, 50}, Size{60, 14}}) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        const UIFrame first = helpAt(size, 0);
        const std::int64_t last = std::max<std::int64_t>(first.viewports.helpLines - first.viewports.picker, 0);
        std::string seen;
        for (std::int64_t offset = 0; offset <= last; ++offset) seen += screenText(helpAt(size, offset));
        for (const HelpView::Row& row : HelpView::rows(first)) {
            if (row.isHeader) {
                EXPECT_NE(seen.find(row.text), std::string::npos) << row.text;
                continue;
            }
            EXPECT_FALSE(row.text.empty()) << row.keys;
            // The keys, padded to their column, then the description's first word.
            const std::string keys =
                row.keys + std::string(static_cast<std::size_t>(std::max<std::int64_t>(13 - terminal::DisplayWidth::width(row.keys), 0)), ' ');
            EXPECT_NE(seen.find(keys + row.text.substr(0, row.text.find(' '))), std::string::npos)
                << row.keys << " " << row.text;
        }
    }
}

// The cells of column x from row `from` to row `to` (exclusive), as text.
std::string column(const UIFrame& frame, std::int64_t x, std::int64_t from, std::int64_t to) {
    std::string out;
    for (std::int64_t y = from; y < to; ++y) out += fixtures::cell(frame, x, y).character;
    return out;
}

TEST(HelpViewScrolling, TheRightEdgeShowsThatMoreLinesAreBelowOrAbove) {
    // At 80x24 the box spans columns 1 to 78 and rows 1 to 22; its right
    // edge between the corners is a scroll bar while lines are hidden.
    const UIFrame top = helpAt(Size{80, 24}, 0);
    const std::int64_t last = top.viewports.helpLines - top.viewports.picker;
    ASSERT_GT(last, 0);
    const struct {
        std::int64_t offset;
        std::string edge;
    } cases[] = {
        {0, "╮┃┃┃┃┃┃┃│││││││││││││╯"},
        {last, "╮│││││││││││││┃┃┃┃┃┃┃╯"},
    };
    for (const auto& c : cases) {
        const UIFrame frame = helpAt(Size{80, 24}, c.offset);
        EXPECT_EQ(column(frame, 78, 1, 23), c.edge) << c.offset;
        EXPECT_EQ(fixtures::cell(frame, 78, 1).style, frame.styles.popoverBorder);
    }
    // Everything shows: a plain border.
    const UIFrame wide = helpAt(Size{200, 60}, 0);
    ASSERT_LE(wide.viewports.helpLines, wide.viewports.picker);
    const std::string edge = column(wide, 174, 0, 60);
    EXPECT_EQ(edge.find("┃"), std::string::npos) << edge;
}

}  // namespace
}  // namespace tarv::ui
