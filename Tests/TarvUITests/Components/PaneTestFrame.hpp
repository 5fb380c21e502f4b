#pragma once

#include <string>
#include <vector>

#include "TarvUI/Components/UIFrame.hpp"
#include "TarvUI/Keymap/Keymap.hpp"
#include "TarvUI/Theme/Theme.hpp"

// An off-screen frame for the pane views' tests, and ways to read it back.
namespace tarv::ui::test {

// The time the frames of these tests are drawn at: 2024-01-01 00:00:00 UTC.
inline constexpr std::int64_t frameNow = 1704067200;

inline UIFrame paneFrame(std::int64_t width, std::int64_t height, bool monochrome = false) {
    return UIFrame(terminal::Size{width, height}, features::Viewports{}, ThemeStyles(Theme::dark, monochrome),
                   core::Language::en, frameNow, 0, Keymap::standard());
}

inline std::vector<std::string> screenRows(const UIFrame& frame) {
    std::vector<std::string> rows;
    for (std::int64_t y = 0; y < frame.canvas.grid().size.height; ++y) rows.push_back(frame.canvas.grid().text(y));
    return rows;
}

inline const terminal::Cell& cellAt(const UIFrame& frame, std::int64_t x, std::int64_t y) {
    return frame.canvas.grid()(x, y);
}

// The region that a click at (x, y) reaches (the last one registered
// there), its actions made.
inline std::optional<HitRegion> regionAt(const UIFrame& frame, std::int64_t x, std::int64_t y) {
    const terminal::Point at{x, y};
    const auto& regions = frame.hits.regions();
    for (auto it = regions.rbegin(); it != regions.rend(); ++it) {
        if (it->rect.contains(at)) return it->value.resolved(at);
    }
    return std::nullopt;
}

// True when some cell holds a C0 or C1 control character or DEL.
inline bool holdsControlCharacter(const UIFrame& frame) {
    for (const terminal::Cell& cell : frame.canvas.grid().cells) {
        const std::string& c = cell.character;
        for (std::size_t i = 0; i < c.size(); ++i) {
            const auto b = static_cast<unsigned char>(c[i]);
            if (b < 0x20 || b == 0x7F) return true;
            if (b == 0xC2 && i + 1 < c.size() && static_cast<unsigned char>(c[i + 1]) <= 0x9F) return true;
        }
    }
    return false;
}

}  // namespace tarv::ui::test
