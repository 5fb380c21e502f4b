#pragma once

#include <cstdint>

#include "TarvApp/Runtime/RuntimeOptions.hpp"
#include "TarvTerminal/Input/InputEvent.hpp"
#include "TarvUI/Theme/Theme.hpp"

namespace tarv::app::GalleryCommand {

// Where the gallery stands between two events.
struct Position {
    std::int64_t page = 0;
    bool caption = true;
    ui::Theme theme = ui::Theme::dark;
    bool leave = false;

    bool operator==(const Position&) const = default;
};

// What one input event does, for `pageCount` pages: space, "l", right arrow
// and tab turn to the next page, "h", left arrow and back-tab to the
// previous one (both wrap around); "t" switches between the dark and the
// light theme; "i" shows or hides the caption; "q", ctrl-C, escape, a
// terminating signal leave. Everything else (mouse, paste, focus, other
// keys) changes nothing. Returns whether the screen must be drawn again,
// whole when the theme changed or the window was resized.
enum class Redraw { none, changed, whole };
Redraw handle(Position& position, const terminal::InputEvent& event, std::int64_t pageCount);

// `tarv --gallery`: takes the terminal like the interface, shows the sample
// pages with a caption naming the page and the keys, and returns 0 when the
// user leaves; 1 at once, with nothing printed, without a terminal. No
// store, no dependencies, no timers: nothing the user presses reaches the
// state logic.
int run(const RuntimeOptions& options);

}  // namespace tarv::app::GalleryCommand
