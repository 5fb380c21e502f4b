#include <gtest/gtest.h>

#include "TarvTerminal/Text/TextSlicing.hpp"
#include "TarvUI/Components/DiffDisplayLine.hpp"

namespace tarv::ui {
namespace {

using core::DiffLine;

const std::string kan = "\xE6\xBC\xA2";             // 漢, two columns
const std::string acute = "e\xCC\x81";              // e and a combining acute: one character
const std::string family = "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA7";  // man ZWJ girl
const std::string zeroWidthSpace = "\xE2\x80\x8B";
const std::string dot = "\xC2\xB7";

DiffLine line(DiffLine::Kind kind, std::string_view text) { return DiffLine{kind, text, 1, 1}; }

TEST(DiffDisplayLine, DisplayTextTable) {
    struct Case {
        DiffLine::Kind kind;
        std::string text;
        std::string display;
        std::int64_t width;
        std::int64_t characters;
    };
    const Case cases[] = {
        {DiffLine::Kind::context, "plain", "plain", 5, 5},
        {DiffLine::Kind::added, "\tx", "    x", 5, 5},
        {DiffLine::Kind::added, "ab\tc", "ab  c", 5, 5},
        {DiffLine::Kind::removed, "a\x1b[2Jb", "a" + dot + "[2Jb", 6, 6},
        {DiffLine::Kind::removed, "a\xC2\x9B" "31mb", "a" + dot + "31mb", 6, 6},
        {DiffLine::Kind::context, "x" + kan + "y", "x" + kan + "y", 4, 3},
        {DiffLine::Kind::context, acute + "!", acute + "!", 2, 2},
        {DiffLine::Kind::context, "a\xFF" "b", "a\xEF\xBF\xBD" "b", 3, 3},
        {DiffLine::Kind::context, "end\r", "end" + dot, 4, 4},
        {DiffLine::Kind::noNewlineMarker, "No newline at end of file", "\\ No newline at end of file", 27, 27},
        {DiffLine::Kind::noNewlineMarker, "x\ty", "\\ x   y", 7, 7},
    };
    for (const Case& c : cases) {
        const DiffDisplayLine d = DiffDisplayLine::of(line(c.kind, c.text));
        EXPECT_EQ(d.text(), c.display) << testing::PrintToString(c.text);
        EXPECT_EQ(d.width(), c.width) << testing::PrintToString(c.text);
        EXPECT_EQ(d.characterCount(), c.characters) << testing::PrintToString(c.text);
    }
}

TEST(DiffDisplayLine, ColumnsOfCharacters) {
    // x 漢 é y: columns 0, 1, 3, 4; width 5.
    const DiffDisplayLine d("x" + kan + acute + "y");
    struct Case {
        std::int64_t start, end, from, to;
    };
    const Case cases[] = {
        {0, 1, 0, 1}, {1, 2, 1, 3}, {2, 4, 3, 5}, {0, 99, 0, 5}, {-3, 1, 0, 1}, {3, 1, 4, 4}, {4, 9, 5, 5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(d.columns(c.start, c.end), (std::pair<std::int64_t, std::int64_t>{c.from, c.to}))
            << c.start << ".." << c.end;
    }
}

// The windowed slice must give exactly what slicing the whole display text
// gives, for every window, whatever the characters at its edges.
TEST(DiffDisplayLine, SliceAgreesWithSlicingTheWholeText) {
    const std::string texts[] = {
        "",
        "int main() { return 0; }",
        kan + kan + "a" + kan,
        "a" + acute + kan + "b" + family + "c",
        zeroWidthSpace + "ab" + zeroWidthSpace + kan + zeroWidthSpace,
        "\x1b]0;title\x07" "x\xC2\x85" "y\t" + kan,
        "\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7z",  // two flags
    };
    for (const std::string& raw : texts) {
        const DiffDisplayLine d = DiffDisplayLine::of(line(DiffLine::Kind::context, raw));
        const std::int64_t total = d.width();
        for (std::int64_t start = 0; start <= total + 2; ++start) {
            for (std::int64_t width = -1; width <= total + 2; ++width) {
                EXPECT_EQ(d.slice(start, width), terminal::TextSlicing::slice(d.text(), start, width))
                    << testing::PrintToString(raw) << " start " << start << " width " << width;
            }
        }
    }
}

}  // namespace
}  // namespace tarv::ui
