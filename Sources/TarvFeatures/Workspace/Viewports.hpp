#pragma once

#include <cstdint>

namespace tarv::features {

// The sizes of the scrolled regions as last drawn, in rows unless said
// otherwise. The screen reports them; every clamp, page and scroll reads
// them.
struct Viewports {
    // Rows of the Changes file list.
    std::int64_t fileList = 10;
    // Rows of a diff pane (Changes and History).
    std::int64_t diff = 20;
    // Columns of the diff pane.
    std::int64_t diffWidth = 80;
    // Rows of the commit list.
    std::int64_t historyList = 10;
    // Rows of the selected commit's file list.
    std::int64_t historyFiles = 5;
    // Rows of a picker overlay's list (for the help: the lines it shows).
    std::int64_t picker = 8;
    // Lines of the help as laid out for the screen.
    std::int64_t helpLines = 0;

    bool operator==(const Viewports&) const = default;
};

}  // namespace tarv::features
