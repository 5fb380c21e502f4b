#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "TarvTerminal/Buffer/Grid.hpp"
#include "TarvTerminal/Geometry/Point.hpp"
#include "TarvTerminal/Geometry/Rect.hpp"
#include "TarvTerminal/Style/Style.hpp"

namespace tarv::terminal {

// The off-screen frame that views draw into. Writes land only inside `clip`
// and the grid; drawing never fails, whatever falls outside is dropped.
//
// Double-width characters occupy a cell and a continuation cell; whatever
// overwrites one half of one blanks the other half, so the grid never holds
// half a character.
//
// The canvas never stores a control character (U+0000-001F, U+007F-009F):
// a cell's character is reduced to its first grapheme cluster, a control is
// stored as "·", invalid UTF-8 as U+FFFD and an empty text as a space. Text
// from anywhere (paths, diff lines, commit messages, git's errors) can be
// drawn without reaching the terminal as escape sequences.
class Canvas {
public:
    explicit Canvas(Size size);

    Rect clip;

    const Grid& grid() const& { return grid_; }
    Grid grid() && { return std::move(grid_); }
    Rect bounds() const { return Rect(0, 0, grid_.size.width, grid_.size.height); }

    // Stores one cell (its continuation flag too) when (x, y) lies inside
    // the clip and the grid.
    void setCell(const Cell& cell, std::int64_t x, std::int64_t y);

    // Fills the part of `rect` inside the clip with one character.
    void fill(const Rect& rect, const Style& style, std::string_view character = " ");

    // Draws text on one row from `at` and returns the columns it advanced,
    // up to the stop column at.x + maxWidth (no stop when absent). A
    // double-width character cut by the clip or the grid leaves a blank.
    std::int64_t draw(std::string_view text, Point at, const Style& style,
                      std::optional<std::int64_t> maxWidth = std::nullopt);

    // Draws text so that its last column is endX - 1.
    void drawRightAligned(std::string_view text, std::int64_t endX, std::int64_t y, const Style& style);

    void horizontalLine(std::int64_t y, std::int64_t from, std::int64_t length, const Style& style,
                        std::string_view character = "\xE2\x94\x80");  // "─"
    void verticalLine(std::int64_t x, std::int64_t from, std::int64_t length, const Style& style,
                      std::string_view character = "\xE2\x94\x82");  // "│"

    // A frame around `rect` (at least 2 x 2), with an optional title on the
    // top edge when the box is wider than 6.
    void box(const Rect& rect, const Style& style, std::optional<std::string_view> title, bool rounded = true);

    // Adds `dim` to every cell of `rect` (not limited by the clip).
    void dim(const Rect& rect);

    // Sets the background of every cell of `rect` inside the clip.
    void tint(const Rect& rect, const Color& background);

    // Gives every cell of `rect` inside the clip `style`, keeping what the
    // cells hold.
    void restyle(const Rect& rect, const Style& style);

    // Runs `body` with the clip narrowed to `rect`, then restores the clip.
    template <class Body>
    void withClip(const Rect& rect, Body&& body) {
        struct Restore {
            Canvas& canvas;
            Rect saved;
            ~Restore() { canvas.clip = saved; }
        } restore{*this, clip};
        clip = clip.intersection(rect);
        std::forward<Body>(body)(*this);
    }

    // The character a cell can hold for `text`: its first grapheme cluster,
    // "·" for a control, U+FFFD for invalid bytes, a space when empty.
    static std::string cellCharacter(std::string_view text);

private:
    bool writable(std::int64_t x, std::int64_t y) const;
    void clearOverlap(std::int64_t x, std::int64_t y);
    void put(std::int64_t x, std::int64_t y, std::string_view character, const Style& style, bool continuation);
    // Stores one-byte characters from column x on row y, inside the clip.
    void putNarrowRun(std::string_view bytes, std::int64_t x, std::int64_t y, const Style& style);
    static std::size_t asciiRun(std::string_view text, std::size_t from);

    Grid grid_;
};

}  // namespace tarv::terminal
