#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "TarvCore/Localization/Language.hpp"
#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/EditableText.hpp"
#include "TarvFeatures/Workspace/Viewports.hpp"
#include "TarvTerminal/Buffer/Canvas.hpp"
#include "TarvTerminal/Geometry/Point.hpp"
#include "TarvTerminal/Geometry/Size.hpp"
#include "TarvTerminal/Interaction/HitMap.hpp"
#include "TarvUI/Components/HitRegion.hpp"
#include "TarvUI/Theme/ThemeStyles.hpp"

namespace tarv::ui {

class DiffLineCache;
class Keymap;

// The drawing context of one frame, handed by reference to every view.
// Views paint the canvas, register their click targets in `hits` (a later
// region lies on top of an earlier one), record the rows their lists show in
// `viewports`, and place `cursor` when they draw the focused text field. The
// other members are read only. Views never keep the frame.
//
// The keymap is held by reference: it outlives every frame drawn with it;
// so does the diff line cache, when the application hands one over.
struct UIFrame {
    terminal::Canvas canvas;
    terminal::HitMap<HitRegion> hits;
    std::optional<terminal::Point> cursor;
    features::Viewports viewports;
    ThemeStyles styles;
    core::Language language;
    // The state's current time, seconds since 1970.
    std::int64_t now = 0;
    // The animation counter; spinners show frame tick % 10.
    std::int64_t tick = 0;
    const Keymap& keymap;
    // The diff panes' line cache kept between frames (the application owns
    // it); none: each pane derives its lines for this frame only.
    DiffLineCache* diffLines = nullptr;

    UIFrame(terminal::Size size, features::Viewports viewports, ThemeStyles styles, core::Language language,
            std::int64_t now, std::int64_t tick, const Keymap& keymap)
        : canvas(size), viewports(viewports), styles(std::move(styles)), language(language), now(now),
          tick(tick), keymap(keymap) {}

    // A text rendered in the frame's language.
    std::string text(const core::Text& text) const { return text.render(language); }

    // The part of a one-line text that fits `width` columns with the cursor
    // visible, and the cursor's column within that part.
    struct Slice {
        std::string text;
        std::int64_t cursorColumn = 0;
        bool operator==(const Slice&) const = default;
    };

    // Every single-line field scrolls its text this way: the slice starts at
    // the first character from which the characters before the cursor take
    // fewer than `width` columns (one column stays free for the cursor), and
    // runs on while the characters fit. A width below 1 gives ("", 0).
    // Measures only the characters it shows, however long the text.
    static Slice visibleSlice(const core::EditableText& text, std::int64_t width);
};

}  // namespace tarv::ui
