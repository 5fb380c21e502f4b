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

}  // namespace
}  // namespace tarv::ui
