#pragma once

// Helpers for the overlay tests: where the box of a dialog landed, what a
// click at a point does, and the overlay actions spelled short.

#include <vector>

#include "TarvFeatures/App/AppAction.hpp"
#include "TarvUITests/FrameFixtures.hpp"

namespace tarv::ui::fixtures {

// The rectangle of the n-th region registered (0 = the first).
inline terminal::Rect region(const UIFrame& frame, std::size_t n) { return frame.hits.regions().at(n).rect; }

// The box of an overlay drawn over a backdrop: the region after the backdrop's.
inline terminal::Rect overlayBox(const UIFrame& frame) { return region(frame, 1); }

// The press actions at (x, y); empty when nothing or a region without actions is there.
inline std::vector<features::AppAction> press(const UIFrame& frame, std::int64_t x, std::int64_t y) {
    const auto value = hit(frame, x, y);
    return value ? value->press : std::vector<features::AppAction>{};
}

// The characters of cells x ..< x + count on row y (rows hold multi-byte
// border glyphs, so byte offsets of the row text are not columns).
inline std::string columns(const UIFrame& frame, std::int64_t x, std::int64_t y, std::int64_t count) {
    std::string out;
    for (std::int64_t i = x; i < x + count; ++i) {
        if (!cell(frame, i, y).isContinuation) out += cell(frame, i, y).character;
    }
    return out;
}

inline features::AppAction overlay(features::OverlayAction action) { return features::AppAction(std::move(action)); }
inline const features::AppAction dismiss = overlay(features::OverlayAction::Dismiss{});

inline std::vector<features::AppAction> selectAndActivate(std::int64_t i) {
    return {overlay(features::OverlayAction::Select{i}), overlay(features::OverlayAction::ActivateSelection{})};
}

}  // namespace tarv::ui::fixtures
