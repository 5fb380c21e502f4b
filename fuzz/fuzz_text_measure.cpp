// Measures, slices, wraps, truncates and draws arbitrary text and checks the
// text functions' invariants and the canvas's guarantees.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "TarvTerminal/Buffer/Canvas.hpp"
#include "TarvTerminal/Render/FrameRenderer.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/Grapheme.hpp"
#include "TarvTerminal/Text/TextSlicing.hpp"
#include "TarvTerminal/Text/TextTruncation.hpp"
#include "TarvTerminal/Text/TextWrapping.hpp"
#include "TarvTerminal/Text/Utf8.hpp"

using namespace tarv::terminal;

namespace {

void require(bool condition) {
    if (!condition) __builtin_trap();
}

bool hasControl(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const Utf8::Decoded d = Utf8::decode(text, i);
        if (DisplayWidth::isControl(d.scalar)) return true;
        i += d.length;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const std::int64_t start = static_cast<std::int8_t>(data[0]) % 40;
    const std::int64_t width = static_cast<std::int8_t>(data[1]) % 40;
    const std::int64_t keep = static_cast<std::int8_t>(data[2]) % 40;
    const std::int64_t x = static_cast<std::int8_t>(data[3]) % 24;
    const std::string_view text(reinterpret_cast<const char*>(data + 4), size - 4);

    // Width is the sum over characters, and the characters cover the text.
    std::int64_t sum = 0;
    std::size_t covered = 0;
    GraphemeCursor cursor(text);
    Grapheme g;
    while (cursor.next(g)) {
        require(g.width >= 0 && g.width <= 2);
        require(!g.bytes.empty());
        sum += g.width;
        covered += g.bytes.size();
    }
    require(covered == text.size());
    const std::int64_t total = DisplayWidth::width(text);
    require(total == sum);

    const std::string sliced = TextSlicing::slice(text, start, width);
    require(DisplayWidth::width(sliced) <= (width > 0 ? width : 0));
    require(Utf8::isValid(sliced));

    const std::string shown = TextSlicing::displayable(text, 1 + (keep & 7));
    require(!hasControl(shown));
    require(Utf8::isValid(shown));

    if (size < 4096) {
        const auto lines = TextWrapping::wrap(text, width);
        for (const std::string& line : lines) require(DisplayWidth::width(line) <= width);
        if (width >= 1) require(!lines.empty());
    }

    const std::int64_t bound = width > 0 ? width : 0;
    require(DisplayWidth::width(TextTruncation::tail(text, width)) <= bound);
    require(DisplayWidth::width(TextTruncation::middle(text, width, std::nullopt)) <= bound);
    require(DisplayWidth::width(TextTruncation::middle(text, width, keep)) <= bound);

    Canvas canvas(Size{24, 3});
    canvas.draw(text, Point{x, 0}, Style::plain, width);
    canvas.withClip(Rect(start, 0, 10, 3), [&](Canvas& c) { c.draw(text, Point{x - 3, 1}, Style::plain); });
    canvas.setCell(Cell{std::string(text), Style::plain, false}, x, 2);
    canvas.fill(Rect(x + 1, 2, 2, 1), Style::plain, text);
    canvas.box(Rect(x - 2, 0, 12, 3), Style::plain, text);
    const Grid& grid = canvas.grid();
    for (std::int64_t row = 0; row < grid.size.height; ++row) {
        for (std::int64_t column = 0; column < grid.size.width; ++column) {
            const Cell& cell = grid(column, row);
            require(!cell.character.empty());
            require(!hasControl(cell.character));
            require(Utf8::isValid(cell.character));
            if (cell.isContinuation) {
                require(column >= 1);
                require(DisplayWidth::characterWidth(grid(column - 1, row).character) == 2);
            }
        }
    }

    // What the renderer sends holds no control character outside its own
    // escape sequences.
    FrameRenderer renderer(ColorSupport::trueColor);
    const std::string bytes = renderer.render(grid, Point{x, 1});
    std::string printed;
    for (std::size_t i = 0; i < bytes.size();) {
        if (bytes[i] == '\x1b') {
            require(i + 1 < bytes.size() && bytes[i + 1] == '[');
            i += 2;
            while (i < bytes.size() && ((bytes[i] >= '0' && bytes[i] <= '9') || bytes[i] == ';' || bytes[i] == '?')) ++i;
            require(i < bytes.size() && ((bytes[i] >= 'a' && bytes[i] <= 'z') || (bytes[i] >= 'A' && bytes[i] <= 'Z')));
            ++i;
            continue;
        }
        printed.push_back(bytes[i++]);
    }
    require(Utf8::isValid(printed));
    require(!hasControl(printed));
    return 0;
}
