#pragma once

#include <optional>

#include "TarvFeatures/Workspace/Viewports.hpp"
#include "TarvTerminal/Buffer/Grid.hpp"
#include "TarvTerminal/Geometry/Point.hpp"
#include "TarvTerminal/Interaction/HitMap.hpp"
#include "TarvUI/Components/HitRegion.hpp"

namespace tarv::ui {

// What one drawn frame yields: the finished cells (exactly the requested
// size), where the terminal cursor shows (hidden when absent), the list and
// pane sizes the views measured while drawing, and every region that reacts
// to the mouse, in drawing order (a later region lies on top).
struct RenderedFrame {
    terminal::Grid grid;
    std::optional<terminal::Point> cursor;
    features::Viewports viewports;
    terminal::HitMap<HitRegion> hits;
};

}  // namespace tarv::ui
