#include "TarvTerminal/Text/TextSlicing.hpp"

#include <algorithm>

#include "TarvTerminal/Text/AsciiScan.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/Grapheme.hpp"

namespace tarv::terminal::TextSlicing {
namespace {

constexpr std::string_view middleDot = "\xC2\xB7";  // U+00B7

// Printable ASCII bytes from `i` that are whole characters on their own: the
// last byte of a run is left out when a non-ASCII byte follows it, since it
// may combine with what follows.
inline std::size_t wholeAsciiRun(std::string_view text, std::size_t i) {
    std::size_t run = detail::printableAsciiRun(text.data() + i, text.size() - i);
    if (run > 0 && i + run < text.size() && static_cast<unsigned char>(text[i + run]) >= 0x80) --run;
    return run;
}

bool isControlCharacter(std::string_view bytes) {
    // Controls are characters of their own, except CR LF.
    const Utf8::Decoded d = Utf8::decode(bytes, 0);
    return DisplayWidth::isControl(d.scalar);
}

}  // namespace

std::string displayable(std::string_view text, std::int64_t tabWidth) {
    if (tabWidth < 1) tabWidth = 1;
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    std::int64_t column = 0;
    std::size_t i = 0;
    Grapheme g;
    while (i < text.size()) {
        const std::size_t run = wholeAsciiRun(text, i);
        if (run > 0) {
            out.append(text.substr(i, run));
            column += static_cast<std::int64_t>(run);
            i += run;
            continue;
        }
        if (text[i] == '\t') {
            const std::int64_t spaces = tabWidth - column % tabWidth;
            out.append(static_cast<std::size_t>(spaces), ' ');
            column += spaces;
            ++i;
            continue;
        }
        GraphemeCursor cursor(text, i);
        cursor.next(g);
        i = cursor.position();
        if (isControlCharacter(g.bytes)) {
            out.append(middleDot);
            column += 1;
        } else {
            g.appendTo(out);
            column += g.width;
        }
    }
    return out;
}

std::string withVisibleControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const Utf8::Decoded d = Utf8::decode(text, i);
        if (d.valid && DisplayWidth::isControl(d.scalar)) {
            out.append(middleDot);
        } else {
            out.append(text.substr(i, d.length));
        }
        i += d.length;
    }
    return out;
}

std::string slice(std::string_view text, std::int64_t startColumn, std::int64_t width) {
    std::string out;
    if (width < 1) return out;
    std::int64_t column = 0;
    std::int64_t used = 0;
    bool started = false;
    std::size_t i = 0;
    Grapheme g;
    while (i < text.size()) {
        const std::size_t run = wholeAsciiRun(text, i);
        if (run > 0) {
            // Every character of the run is one column wide.
            std::size_t skip = 0;
            if (!started) {
                skip = static_cast<std::size_t>(std::clamp<std::int64_t>(startColumn - column, 0, static_cast<std::int64_t>(run)));
                column += static_cast<std::int64_t>(skip);
                if (skip == run) {
                    i += run;
                    continue;
                }
                started = true;
            }
            const std::size_t available = run - skip;
            const std::size_t take = std::min<std::size_t>(available, static_cast<std::size_t>(width - used));
            out.append(text.substr(i + skip, take));
            used += static_cast<std::int64_t>(take);
            column += static_cast<std::int64_t>(take);
            if (take < available) return out;  // full: the next character does not fit
            i += run;
            continue;
        }
        GraphemeCursor cursor(text, i);
        cursor.next(g);
        i = cursor.position();
        const std::int64_t w = g.width;
        if (!started) {
            if (w == 0) {
                if (column >= startColumn) g.appendTo(out);
                continue;
            }
            if (column + w <= startColumn) {
                column += w;
                continue;
            }
            started = true;
            if (column < startColumn) {
                // A double-width character cut by the start: blanks for its
                // columns inside the slice.
                const std::int64_t inside = std::min(column + w - startColumn, width);
                out.append(static_cast<std::size_t>(inside), ' ');
                used += inside;
                column += w;
                if (used >= width) return out;
                continue;
            }
        }
        if (w == 0) {
            g.appendTo(out);
            continue;
        }
        if (used + w <= width) {
            g.appendTo(out);
            used += w;
            column += w;
            continue;
        }
        if (used < width) out.push_back(' ');
        return out;
    }
    return out;
}

}  // namespace tarv::terminal::TextSlicing
