#pragma once

// Off-screen frames for the view tests: a frame of a given size in the dark
// theme with the standard keymap, and its rows as text.

#include <string>
#include <vector>

#include "TarvUI/Components/UIFrame.hpp"
#include "TarvUI/Keymap/Keymap.hpp"
#include "TarvUI/Theme/ThemeStyles.hpp"

namespace tarv::ui::fixtures {

inline UIFrame frame(terminal::Size size, std::int64_t now = 0, std::int64_t tick = 0,
                     const Keymap& keymap = Keymap::standard(), bool monochrome = false) {
    return UIFrame(size, features::Viewports{}, ThemeStyles(Theme::dark, monochrome), core::Language::en, now, tick,
                   keymap);
}

inline std::string row(const UIFrame& frame, std::int64_t y) { return frame.canvas.grid().text(y); }

// Rows from..<to as text.
inline std::vector<std::string> rows(const UIFrame& frame, std::int64_t from, std::int64_t to) {
    std::vector<std::string> out;
    for (std::int64_t y = from; y < to; ++y) out.push_back(row(frame, y));
    return out;
}

// Rows as one text, one per line, for failure messages that show the
// screen as it looks.
inline std::string screen(const std::vector<std::string>& rows) {
    std::string out = "\n";
    for (const auto& r : rows) out += "|" + r + "|\n";
    return out;
}

inline const terminal::Cell& cell(const UIFrame& frame, std::int64_t x, std::int64_t y) {
    return frame.canvas.grid()(x, y);
}

// The value of the region on top at (x, y), its actions made.
inline std::optional<HitRegion> hit(const UIFrame& frame, std::int64_t x, std::int64_t y) {
    const terminal::Point at{x, y};
    const auto value = frame.hits.value(at);
    if (!value) return std::nullopt;
    return value->resolved(at);
}

}  // namespace tarv::ui::fixtures

// Expects rows from..<from + expected.size() of the frame to read `expected`.
#define EXPECT_ROWS(frame, from, ...)                                                                          \
    do {                                                                                                     \
        const std::vector<std::string> expectedRows_ = __VA_ARGS__;                                          \
        const auto actualRows_ = ::tarv::ui::fixtures::rows(                                                 \
            (frame), (from), (from) + static_cast<std::int64_t>(expectedRows_.size()));                      \
        EXPECT_TRUE(actualRows_ == expectedRows_) << "actual:" << ::tarv::ui::fixtures::screen(actualRows_)   \
                                                  << "expected:" << ::tarv::ui::fixtures::screen(expectedRows_); \
    } while (false)
