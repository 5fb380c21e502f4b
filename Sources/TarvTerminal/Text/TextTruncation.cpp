#include "TarvTerminal/Text/TextTruncation.hpp"

#include <algorithm>
#include <vector>

#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/Grapheme.hpp"

namespace tarv::terminal::TextTruncation {
namespace {

constexpr std::string_view ellipsis = "\xE2\x80\xA6";  // U+2026

}  // namespace

std::string tail(std::string_view text, std::int64_t width) {
    if (width < 1) return {};
    if (DisplayWidth::width(text) <= width) return std::string(text);
    if (width == 1) return std::string(ellipsis);
    std::string out;
    std::int64_t used = 0;
    GraphemeCursor cursor(text);
    Grapheme g;
    while (cursor.next(g)) {
        if (used + g.width > width - 1) break;
        g.appendTo(out);
        used += g.width;
    }
    out.append(ellipsis);
    return out;
}

std::string wholeWords(std::string_view text, std::int64_t width) {
    if (width < 1) return {};
    if (DisplayWidth::width(text) <= width) return std::string(text);
    // The end of the last word (before a blank) whose text leaves a column
    // for the ellipsis.
    std::size_t kept = 0;
    std::int64_t used = 0;
    GraphemeCursor cursor(text);
    Grapheme g;
    std::size_t before = 0;
    while (cursor.next(g)) {
        if (g.bytes == " " && before > 0 && text[before - 1] != ' ') kept = before;
        used += g.width;
        if (used > width - 1) break;
        before = cursor.position();
    }
    if (kept == 0) return {};
    std::string out(text.substr(0, kept));
    out.append(ellipsis);
    return out;
}

std::string middle(std::string_view text, std::int64_t width, std::optional<std::int64_t> keepTail) {
    if (width < 1) return {};
    if (DisplayWidth::width(text) <= width) return std::string(text);
    if (width == 1) return std::string(ellipsis);

    const std::int64_t budget = std::min(keepTail ? *keepTail : (2 * width - 2) / 3, width - 2);
    std::vector<Grapheme> characters;
    GraphemeCursor cursor(text);
    Grapheme g;
    while (cursor.next(g)) characters.push_back(g);

    std::size_t tailStart = characters.size();
    std::int64_t tailWidth = 0;
    while (tailStart > 0 && tailWidth + characters[tailStart - 1].width <= budget) {
        --tailStart;
        tailWidth += characters[tailStart].width;
    }

    std::string out;
    const std::int64_t headBudget = width - 1 - tailWidth;
    std::int64_t headWidth = 0;
    for (std::size_t k = 0; k < tailStart; ++k) {
        if (headWidth + characters[k].width > headBudget) break;
        characters[k].appendTo(out);
        headWidth += characters[k].width;
    }
    out.append(ellipsis);
    for (std::size_t k = tailStart; k < characters.size(); ++k) characters[k].appendTo(out);
    return out;
}

}  // namespace tarv::terminal::TextTruncation
