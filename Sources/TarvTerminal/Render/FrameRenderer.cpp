#include "TarvTerminal/Render/FrameRenderer.hpp"

#include <algorithm>

#include "TarvTerminal/Buffer/Canvas.hpp"
#include "TarvTerminal/Style/ColorDowngrade.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/Utf8.hpp"

namespace tarv::terminal {
namespace {

void appendNumber(std::string& out, std::int64_t value) {
    if (value < 0) {
        out.push_back('-');
        value = -value;
    }
    char digits[20];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    while (n > 0) out.push_back(digits[--n]);
}

void appendCursorPosition(std::string& out, std::int64_t x, std::int64_t y) {
    out.append("\x1b[");
    appendNumber(out, y + 1);
    out.push_back(';');
    appendNumber(out, x + 1);
    out.push_back('H');
}

inline bool isPlainAscii(const std::string& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// True when the text can go to the terminal as it is: valid UTF-8 without
// any control character. Cells drawn through the canvas always are; a grid
// filled some other way is made safe here too.
bool isSafe(const std::string& text) {
    if (text.empty()) return false;
    bool ascii = true;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) return false;
        if (b >= 0x80) ascii = false;
    }
    if (ascii) return true;
    std::size_t i = 0;
    while (i < text.size()) {
        const Utf8::Decoded d = Utf8::decode(text, i);
        if (!d.valid || DisplayWidth::isControl(d.scalar)) return false;
        i += d.length;
    }
    return true;
}

}  // namespace

void FrameRenderer::invalidate() {
    previous_.reset();
    activeStyle_.reset();
}

std::string FrameRenderer::render(const Grid& grid, std::optional<Point> cursor) {
    output_.clear();
    const bool full = !previous_ || previous_->size != grid.size;
    if (full) {
        output_.append("\x1b[0m\x1b[2J");
        activeStyle_.reset();
    }
    bool changed = full;
    const std::int64_t width = grid.size.width;

    for (std::int64_t y = 0; y < grid.size.height && width > 0; ++y) {
        const auto row = grid.row(y);
        std::span<const Cell> before;
        if (!full) {
            before = previous_->row(y);
            if (std::equal(row.begin(), row.end(), before.begin())) continue;
        }
        std::int64_t x = 0;
        std::int64_t cursorColumn = -1;  // unknown until the first write
        while (x < width) {
            const Cell& cell = row[static_cast<std::size_t>(x)];
            if (cell.isContinuation) {
                ++x;
                continue;
            }
            if (!full && cell == before[static_cast<std::size_t>(x)]) {
                ++x;
                continue;
            }
            if (cursorColumn != x) appendCursorPosition(output_, x, y);
            apply(cell.style);
            bool ascii;
            std::int64_t w;
            if (cell.character.size() == 1 && isSafe(cell.character)) {
                output_.append(cell.character);
                ascii = true;
                w = 1;
            } else if (isSafe(cell.character)) {
                output_.append(cell.character);
                ascii = isPlainAscii(cell.character);
                w = std::max<std::int64_t>(DisplayWidth::characterWidth(cell.character), 1);
            } else {
                const std::string shown = Canvas::cellCharacter(cell.character);
                output_.append(shown);
                ascii = isPlainAscii(shown);
                w = std::max<std::int64_t>(DisplayWidth::characterWidth(shown), 1);
            }
            x += w;
            // After anything but plain ASCII, where the terminal's cursor
            // stands is not taken for granted.
            cursorColumn = ascii ? x : -1;
            changed = true;
        }
    }

    if (previous_) {
        *previous_ = grid;
    } else {
        previous_ = grid;
    }

    if (!changed && !cursor) return {};
    std::string result;
    result.reserve(output_.size() + 40);
    result.append("\x1b[?2026h\x1b[?25l");
    result.append(output_);
    if (cursor) {
        // A position left of or above the screen is no valid sequence.
        appendCursorPosition(result, std::max<std::int64_t>(cursor->x, 0), std::max<std::int64_t>(cursor->y, 0));
        result.append("\x1b[?25h");
    }
    result.append("\x1b[?2026l");
    return result;
}

void FrameRenderer::apply(const Style& style) {
    if (activeStyle_ && *activeStyle_ == style) return;
    output_.append("\x1b[0");
    const Attributes a = style.attributes;
    if (a.contains(Attributes::bold)) output_.append(";1");
    if (a.contains(Attributes::dim)) output_.append(";2");
    if (a.contains(Attributes::italic)) output_.append(";3");
    if (a.contains(Attributes::underline)) output_.append(";4");
    if (a.contains(Attributes::inverse)) output_.append(";7");
    if (a.contains(Attributes::strikethrough)) output_.append(";9");
    appendColor(style.foreground, true);
    appendColor(style.background, false);
    output_.push_back('m');
    activeStyle_ = style;
}

void FrameRenderer::appendPalette(int index, bool foreground) {
    output_.push_back(';');
    if (index <= 7) {
        appendNumber(output_, (foreground ? 30 : 40) + index);
    } else if (index <= 15) {
        appendNumber(output_, (foreground ? 90 : 100) + index - 8);
    } else {
        output_.append(foreground ? "38;5;" : "48;5;");
        appendNumber(output_, index);
    }
}

void FrameRenderer::appendColor(const Color& color, bool foreground) {
    if (colorSupport == ColorSupport::none) return;
    if (const auto* indexed = std::get_if<Color::Indexed>(&color.value)) {
        if (colorSupport == ColorSupport::ansi16 && indexed->index > 15) return;
        appendPalette(indexed->index, foreground);
    } else if (const auto* rgb = std::get_if<Color::Rgb>(&color.value)) {
        switch (colorSupport) {
        case ColorSupport::ansi16:
            appendPalette(ColorDowngrade::indexed16(rgb->red, rgb->green, rgb->blue), foreground);
            break;
        case ColorSupport::ansi256:
            appendPalette(ColorDowngrade::indexed256(rgb->red, rgb->green, rgb->blue), foreground);
            break;
        default:
            output_.append(foreground ? ";38;2;" : ";48;2;");
            appendNumber(output_, rgb->red);
            output_.push_back(';');
            appendNumber(output_, rgb->green);
            output_.push_back(';');
            appendNumber(output_, rgb->blue);
            break;
        }
    }
}

}  // namespace tarv::terminal
