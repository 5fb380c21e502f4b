#pragma once

#include <optional>
#include <string>

#include "TarvTerminal/Backend/ColorSupport.hpp"
#include "TarvTerminal/Buffer/Grid.hpp"
#include "TarvTerminal/Geometry/Point.hpp"
#include "TarvTerminal/Style/Style.hpp"

namespace tarv::terminal {

// Turns finished frames into the bytes that bring the terminal from the
// previous frame to this one: only changed cells are written, the cursor is
// moved only where needed, a style is emitted only when it changes, and
// every update is wrapped in synchronized-output marks. Colours are written
// at the depth the terminal supports.
//
// After any cell whose character is not plain ASCII the next cell is
// positioned explicitly, so a terminal that measures a character otherwise
// than this toolkit does can never shift the rest of the row.
class FrameRenderer {
public:
    explicit FrameRenderer(ColorSupport colorSupport) : colorSupport(colorSupport) {}

    ColorSupport colorSupport;

    // Forgets the previous frame: the next render repaints everything.
    void invalidate();

    // The bytes for this frame (possibly none). Afterwards this grid is the
    // previous frame.
    std::string render(const Grid& grid, std::optional<Point> cursor);

private:
    void apply(const Style& style);
    void appendColor(const Color& color, bool foreground);
    void appendPalette(int index, bool foreground);

    std::optional<Grid> previous_;
    std::optional<Style> activeStyle_;
    std::string output_;
};

}  // namespace tarv::terminal
