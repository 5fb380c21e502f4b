#pragma once

#include <string>
#include <vector>

#include "TarvUI/Components/UIFrame.hpp"

// Every shortcut of the frame's keymap in sections (general, lists, diff),
// then suspending and the mouse, laid out in one to three columns. Nothing
// scrolls: rows that do not fit are not shown. A click outside closes it.
namespace tarv::ui::HelpView {

struct Row {
    std::string keys;
    std::string text;
    bool isHeader = false;
    bool operator==(const Row&) const = default;
};

// The rows in order, from the keymap's bindings.
std::vector<Row> rows(const UIFrame& frame);

// Key labels packed into lines of at most 12 columns (a wider label gets a
// line of its own).
std::vector<std::string> wrap(const std::vector<std::string>& keys);

void draw(UIFrame& frame);

}  // namespace tarv::ui::HelpView
