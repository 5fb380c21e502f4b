#include "TarvTerminal/Buffer/Canvas.hpp"

#include <algorithm>
#include <cstring>
#include <limits>

#include "TarvTerminal/Text/AsciiScan.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/Grapheme.hpp"
#include "TarvTerminal/Text/TextTruncation.hpp"

namespace tarv::terminal {
namespace {

constexpr std::string_view middleDot = "\xC2\xB7";

inline bool isPrintableAsciiByte(char c) { return static_cast<unsigned char>(c - 0x20) < 0x5F; }

// Replaces a cell's text in place (alias-safe, reusing the storage). Most
// cells hold one byte: that case is a store, not a call to memmove.
inline void setText(std::string& target, std::string_view text) {
    if (text.size() == 1) {
        const char byte = text[0];
        target.resize(1);
        target[0] = byte;
    } else if (text.size() <= target.capacity()) {
        const std::size_t size = text.size();
        target.resize(size);  // within the capacity: the storage stays put
        std::memmove(target.data(), text.data(), size);
    } else {
        target = std::string(text);
    }
}

// True when `text` is already what a cell stores: one printable ASCII byte
// or one valid scalar that is no control (a scalar alone is one cluster).
inline bool isCellCharacter(std::string_view text) {
    if (text.size() == 1) return isPrintableAsciiByte(text[0]);
    if (text.empty() || static_cast<unsigned char>(text[0]) < 0x80) return false;
    const Utf8::Decoded first = Utf8::decode(text, 0);
    return first.valid && first.length == text.size() && !DisplayWidth::isControl(first.scalar);
}

// True when the character is certainly narrower than two columns.
inline bool isNarrowFast(const std::string& character) {
    return character.size() == 1;
}

}  // namespace

Canvas::Canvas(Size size) : grid_(size) { clip = bounds(); }

std::string Canvas::cellCharacter(std::string_view text) {
    if (isCellCharacter(text)) return std::string(text);
    GraphemeCursor cursor(text);
    Grapheme g;
    if (!cursor.next(g)) return " ";
    const Utf8::Decoded first = Utf8::decode(g.bytes, 0);
    if (DisplayWidth::isControl(first.scalar)) return std::string(middleDot);
    return g.text();
}

bool Canvas::writable(std::int64_t x, std::int64_t y) const {
    return x >= clip.minX() && x < clip.maxX() && y >= clip.minY() && y < clip.maxY() && grid_.contains(x, y);
}

void Canvas::clearOverlap(std::int64_t x, std::int64_t y) {
    Cell& old = grid_(x, y);
    if (!old.isContinuation) {
        if (isNarrowFast(old.character)) return;
        if (DisplayWidth::characterWidth(old.character) == 2 && x + 1 < grid_.size.width) {
            Cell& right = grid_(x + 1, y);
            setText(right.character, " ");
            right.style = old.style;
            right.isContinuation = false;
        }
    } else if (x >= 1) {
        Cell& left = grid_(x - 1, y);
        setText(left.character, " ");
        left.style = old.style;
        left.isContinuation = false;
    }
}

void Canvas::put(std::int64_t x, std::int64_t y, std::string_view character, const Style& style,
                 bool continuation) {
    clearOverlap(x, y);
    Cell& cell = grid_(x, y);
    setText(cell.character, character);
    cell.style = style;
    cell.isContinuation = continuation;
}

void Canvas::setCell(const Cell& cell, std::int64_t x, std::int64_t y) {
    if (!writable(x, y)) return;
    if (isCellCharacter(cell.character)) {
        put(x, y, cell.character, cell.style, cell.isContinuation);
    } else {
        put(x, y, cellCharacter(cell.character), cell.style, cell.isContinuation);
    }
}

void Canvas::fill(const Rect& rect, const Style& style, std::string_view character) {
    const Rect area = rect.intersection(clip).intersection(bounds());
    if (area.isEmpty()) return;
    const std::string stored = cellCharacter(character);
    const std::int64_t last = area.maxX() - 1;
    for (std::int64_t y = area.minY(); y < area.maxY(); ++y) {
        // Only a double-width character across either edge of the row has a
        // half outside it; every cell inside is overwritten anyway.
        clearOverlap(area.minX(), y);
        if (last != area.minX()) clearOverlap(last, y);
        for (std::int64_t x = area.minX(); x <= last; ++x) {
            Cell& cell = grid_(x, y);
            setText(cell.character, stored);
            cell.style = style;
            cell.isContinuation = false;
        }
    }
}

// The length of the run of printable ASCII bytes at `from` that are each a
// character of their own (the byte after each is ASCII too, so no combining
// mark joins it).
std::size_t Canvas::asciiRun(std::string_view text, std::size_t from) {
    std::size_t run = detail::printableAsciiRun(text.data() + from, text.size() - from);
    if (run > 0 && from + run < text.size() && static_cast<unsigned char>(text[from + run]) >= 0x80) --run;
    return run;
}

void Canvas::putNarrowRun(std::string_view bytes, std::int64_t x, std::int64_t y, const Style& style) {
    const std::int64_t from = std::max({x, clip.minX(), std::int64_t{0}});
    const std::int64_t to = std::min({x + static_cast<std::int64_t>(bytes.size()), clip.maxX(), grid_.size.width});
    if (from >= to || y < clip.minY() || y >= clip.maxY() || y < 0 || y >= grid_.size.height) return;
    // As in fill: only the cells at the run's ends can split a double-width
    // character with a half outside the run.
    clearOverlap(from, y);
    if (to - 1 != from) clearOverlap(to - 1, y);
    for (std::int64_t column = from; column < to; ++column) {
        Cell& cell = grid_(column, y);
        cell.character.resize(1);
        cell.character[0] = bytes[static_cast<std::size_t>(column - x)];
        cell.style = style;
        cell.isContinuation = false;
    }
}

std::int64_t Canvas::draw(std::string_view text, Point at, const Style& style, std::optional<std::int64_t> maxWidth) {
    const std::int64_t stop = maxWidth ? at.x + *maxWidth : std::numeric_limits<std::int64_t>::max();
    std::int64_t column = at.x;
    GraphemeCursor cursor(text);
    Grapheme g;
    std::string repaired;
    while (true) {
        // Plain ASCII, the most common text, is stored a run at a time.
        const std::size_t position = cursor.position();
        const std::size_t run = asciiRun(text, position);
        if (run > 0) {
            // column >= at.x, so stop - column cannot overflow with a width.
            const std::size_t fits =
                maxWidth ? std::min(run, static_cast<std::size_t>(std::max<std::int64_t>(stop - column, 0))) : run;
            putNarrowRun(text.substr(position, fits), column, at.y, style);
            column += static_cast<std::int64_t>(fits);
            if (fits < run) return column - at.x;
            cursor.seek(position + run);
        }
        if (!cursor.next(g)) break;
        const std::int64_t w = g.width;
        if (w == 0) continue;  // controls and lone combining marks take no cell
        if (column > stop - w) return column - at.x;
        std::string_view character = g.bytes;
        if (!g.isValid) {
            repaired.clear();
            g.appendTo(repaired);
            character = repaired;
        }
        if (w == 1) {
            if (writable(column, at.y)) put(column, at.y, character, style, false);
        } else if (writable(column, at.y) && writable(column + 1, at.y)) {
            put(column, at.y, character, style, false);
            put(column + 1, at.y, " ", style, true);
        } else if (writable(column, at.y)) {
            // Cut by the clip or the grid: a blank instead of half a character.
            put(column, at.y, " ", style, false);
        }
        column += w;
    }
    return column - at.x;
}

void Canvas::drawRightAligned(std::string_view text, std::int64_t endX, std::int64_t y, const Style& style) {
    draw(text, Point{endX - DisplayWidth::width(text), y}, style, std::nullopt);
}

void Canvas::horizontalLine(std::int64_t y, std::int64_t from, std::int64_t length, const Style& style,
                            std::string_view character) {
    const std::string stored = cellCharacter(character);
    for (std::int64_t x = from; x < from + std::max<std::int64_t>(0, length); ++x) {
        if (writable(x, y)) put(x, y, stored, style, false);
    }
}

void Canvas::verticalLine(std::int64_t x, std::int64_t from, std::int64_t length, const Style& style,
                          std::string_view character) {
    const std::string stored = cellCharacter(character);
    for (std::int64_t y = from; y < from + std::max<std::int64_t>(0, length); ++y) {
        if (writable(x, y)) put(x, y, stored, style, false);
    }
}

void Canvas::box(const Rect& rect, const Style& style, std::optional<std::string_view> title, bool rounded) {
    if (rect.size.width < 2 || rect.size.height < 2) return;
    const std::int64_t x = rect.minX();
    const std::int64_t y = rect.minY();
    const std::int64_t right = x + rect.size.width - 1;
    const std::int64_t bottom = y + rect.size.height - 1;
    const auto set = [&](std::int64_t cx, std::int64_t cy, std::string_view character) {
        if (writable(cx, cy)) put(cx, cy, character, style, false);
    };
    for (std::int64_t cx = x; cx <= right; ++cx) set(cx, y, "\xE2\x94\x80");
    for (std::int64_t cx = x; cx <= right; ++cx) set(cx, bottom, "\xE2\x94\x80");
    for (std::int64_t cy = y; cy <= bottom; ++cy) set(x, cy, "\xE2\x94\x82");
    for (std::int64_t cy = y; cy <= bottom; ++cy) set(right, cy, "\xE2\x94\x82");
    set(x, y, rounded ? "\xE2\x95\xAD" : "\xE2\x94\x8C");            // ╭ ┌
    set(right, y, rounded ? "\xE2\x95\xAE" : "\xE2\x94\x90");        // ╮ ┐
    set(x, bottom, rounded ? "\xE2\x95\xB0" : "\xE2\x94\x94");       // ╰ └
    set(right, bottom, rounded ? "\xE2\x95\xAF" : "\xE2\x94\x98");   // ╯ ┘
    if (title && rect.size.width > 6) {
        std::string text = " ";
        text.append(TextTruncation::tail(*title, rect.size.width - 6));
        text.push_back(' ');
        draw(text, Point{x + 2, y}, style, std::nullopt);
    }
}

void Canvas::dim(const Rect& rect) {
    const Rect area = rect.intersection(bounds());
    for (std::int64_t y = area.minY(); y < area.maxY(); ++y) {
        for (std::int64_t x = area.minX(); x < area.maxX(); ++x) grid_(x, y).style.attributes.insert(Attributes::dim);
    }
}

void Canvas::restyle(const Rect& rect, const Style& style) {
    const Rect area = rect.intersection(bounds()).intersection(clip);
    for (std::int64_t y = area.minY(); y < area.maxY(); ++y) {
        for (std::int64_t x = area.minX(); x < area.maxX(); ++x) grid_(x, y).style = style;
    }
}

void Canvas::tint(const Rect& rect, const Color& background) {
    const Rect area = rect.intersection(bounds()).intersection(clip);
    for (std::int64_t y = area.minY(); y < area.maxY(); ++y) {
        for (std::int64_t x = area.minX(); x < area.maxX(); ++x) grid_(x, y).style.background = background;
    }
}

}  // namespace tarv::terminal
