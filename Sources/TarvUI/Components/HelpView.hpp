#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "TarvFeatures/Overlay/Overlay.hpp"
#include "TarvUI/Components/UIFrame.hpp"

// Every shortcut of the frame's keymap in sections (general, lists, diff),
// then suspending and the mouse, laid out in one to three columns. When the
// lines do not all fit, the help shows them from its list's offset on (the
// list keys scroll it) and its right edge is a scroll bar; the lines shown
// and the number of lines are reported in the frame's viewports (`picker`,
// `helpLines`). A click outside closes it.
namespace tarv::ui::HelpView {

struct Row {
    std::string keys;
    std::string text;
    bool isHeader = false;
    bool operator==(const Row&) const = default;
};

// The rows in order, from the keymap's bindings; each line of keys carries
// its description.
std::vector<Row> rows(const UIFrame& frame);

// The rows as drawn in a column whose descriptions are `textWidth` wide: a
// longer description goes on in the following lines (without keys).
std::vector<Row> lines(const std::vector<Row>& rows, std::int64_t textWidth);

// Key labels packed into lines of at most 12 columns (a wider label gets a
// line of its own).
std::vector<std::string> wrap(const std::vector<std::string>& keys);

void draw(UIFrame& frame, const features::Overlay::Help& help = {});

}  // namespace tarv::ui::HelpView
