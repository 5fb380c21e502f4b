#include "TarvTerminal/Text/InertText.hpp"

#include <algorithm>

#include "TarvTerminal/Buffer/Canvas.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/TextSlicing.hpp"

namespace tarv::terminal::InertText {

std::string line(std::string_view text) {
    // The same path as a row of the interface: made displayable, then drawn
    // on a canvas, which keeps only what a cell may hold.
    const std::string shown = TextSlicing::displayable(text);
    Canvas canvas(Size{std::max<std::int64_t>(DisplayWidth::width(shown), 1), 1});
    const std::int64_t drawn = canvas.draw(shown, Point{0, 0}, Style{});
    std::string out;
    out.reserve(shown.size());
    for (std::int64_t x = 0; x < drawn && x < canvas.bounds().size.width; ++x) {
        const Cell& cell = canvas.grid()(x, 0);
        if (!cell.isContinuation) out += cell.character;
    }
    return out;
}

}  // namespace tarv::terminal::InertText
