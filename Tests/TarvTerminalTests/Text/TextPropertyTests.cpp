// Invariants of the text functions over generated text: mixtures of ASCII,
// wide characters, emoji sequences, combining marks, controls and invalid
// bytes.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "TarvTerminal/Buffer/Canvas.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/Grapheme.hpp"
#include "TarvTerminal/Text/TextSlicing.hpp"
#include "TarvTerminal/Text/TextTruncation.hpp"
#include "TarvTerminal/Text/TextWrapping.hpp"
#include "TarvTerminal/Text/Utf8.hpp"

namespace tarv::terminal {
namespace {

const std::vector<std::string>& pieces() {
    static const std::vector<std::string> all = {
        "a", "b", "Z", "0", " ", " ", "  ", "\t", "\n", "\r\n", "\r", "~", "-",
        "\xE6\xBC\xA2",                                    // 漢
        "\xEA\xB0\x80",                                    // 가
        "\xEF\xBC\xA1",                                    // Ａ
        "\xF0\x9F\x91\x8D",                                // 👍
        "\xF0\x9F\x8F\xBD",                                // skin tone alone
        "\xE2\x80\x8D",                                    // ZWJ
        "\xEF\xB8\x8F",                                    // VS16
        "\xE2\x9D\xA4",                                    // ❤
        "\xF0\x9F\x87\xAA",                                // regional indicator
        "\xF0\x9F\x9A\x80",                                // 🚀
        "\xCC\x81",                                        // combining acute
        "\xE0\xA4\x95\xE0\xA4\xBE",                        // Devanagari with a spacing mark
        "\xE2\x80\x8B",                                    // zero-width space
        "\x1b", "\x07", "\x7f", std::string("\x00", 1),
        "\xC2\x85", "\xC2\x9B",                            // C1 controls
        "\xFF", "\xC3", "\xE6\xBC", "\x80",                // invalid or cut UTF-8
        "\xE1\x84\x80\xE1\x85\xA1",                        // Hangul jamo L V
    };
    return all;
}

std::string generate(std::mt19937& rng) {
    std::uniform_int_distribution<std::size_t> count(0, 24);
    std::uniform_int_distribution<std::size_t> pick(0, pieces().size() - 1);
    std::string text;
    const std::size_t n = count(rng);
    for (std::size_t i = 0; i < n; ++i) text += pieces()[pick(rng)];
    return text;
}

bool hasControl(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const Utf8::Decoded d = Utf8::decode(text, i);
        if (DisplayWidth::isControl(d.scalar)) return true;
        i += d.length;
    }
    return false;
}

constexpr int iterations = 3000;

TEST(TextProperties, WidthIsTheSumOverCharacters) {
    std::mt19937 rng(1);
    for (int k = 0; k < iterations; ++k) {
        const std::string text = generate(rng);
        GraphemeCursor cursor(text);
        Grapheme g;
        std::int64_t sum = 0;
        std::size_t covered = 0;
        while (cursor.next(g)) {
            EXPECT_GE(g.width, 0);
            EXPECT_LE(g.width, 2);
            EXPECT_EQ(g.width, DisplayWidth::characterWidth(g.bytes)) << testing::PrintToString(std::string(g.bytes));
            sum += g.width;
            covered += g.bytes.size();
        }
        EXPECT_EQ(covered, text.size());
        EXPECT_EQ(DisplayWidth::width(text), sum) << testing::PrintToString(text);
    }
}

TEST(TextProperties, SliceIsNeverWiderThanAsked) {
    std::mt19937 rng(2);
    std::uniform_int_distribution<std::int64_t> column(-2, 30);
    for (int k = 0; k < iterations; ++k) {
        const std::string text = generate(rng);
        const std::int64_t start = column(rng);
        const std::int64_t width = column(rng);
        const std::string s = TextSlicing::slice(text, start, width);
        EXPECT_LE(DisplayWidth::width(s), std::max<std::int64_t>(width, 0))
            << testing::PrintToString(text) << " " << start << " " << width;
        EXPECT_TRUE(Utf8::isValid(s));
        // The whole width gives back the whole text.
        EXPECT_EQ(TextSlicing::slice(text, 0, DisplayWidth::width(text) + 1), Utf8::repaired(text));
    }
}

TEST(TextProperties, WrappedLinesFitAndEveryParagraphYieldsALine) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<std::int64_t> widths(-1, 12);
    for (int k = 0; k < iterations; ++k) {
        const std::string text = generate(rng);
        const std::int64_t width = widths(rng);
        const auto lines = TextWrapping::wrap(text, width);
        if (width < 1) {
            EXPECT_TRUE(lines.empty());
            continue;
        }
        const auto paragraphs = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
        EXPECT_GE(lines.size(), paragraphs);
        for (const std::string& line : lines) {
            EXPECT_LE(DisplayWidth::width(line), width) << testing::PrintToString(text) << " width " << width;
        }
    }
}

TEST(TextProperties, TruncationFitsTheWidth) {
    std::mt19937 rng(4);
    std::uniform_int_distribution<std::int64_t> widths(-1, 20);
    std::uniform_int_distribution<std::int64_t> keeps(-2, 25);
    for (int k = 0; k < iterations; ++k) {
        const std::string text = generate(rng);
        const std::int64_t width = widths(rng);
        const std::int64_t bound = std::max<std::int64_t>(width, 0);
        EXPECT_LE(DisplayWidth::width(TextTruncation::tail(text, width)), bound) << testing::PrintToString(text);
        EXPECT_LE(DisplayWidth::width(TextTruncation::middle(text, width, std::nullopt)), bound)
            << testing::PrintToString(text);
        EXPECT_LE(DisplayWidth::width(TextTruncation::middle(text, width, keeps(rng))), bound)
            << testing::PrintToString(text);
        if (width >= 1 && DisplayWidth::width(text) <= width) {
            EXPECT_EQ(TextTruncation::tail(text, width), text);
        }
    }
}

TEST(TextProperties, DisplayableHoldsNoControlsOrTabs) {
    std::mt19937 rng(5);
    for (int k = 0; k < iterations; ++k) {
        const std::string text = generate(rng);
        const std::string shown = TextSlicing::displayable(text);
        EXPECT_FALSE(hasControl(shown)) << testing::PrintToString(text);
        EXPECT_TRUE(Utf8::isValid(shown));
    }
}

TEST(TextProperties, CanvasCellsAreWholeCharactersWithoutControls) {
    std::mt19937 rng(6);
    std::uniform_int_distribution<std::int64_t> position(-3, 12);
    for (int k = 0; k < iterations / 3; ++k) {
        Canvas canvas(Size{12, 3});
        for (int d = 0; d < 6; ++d) {
            const std::string text = generate(rng);
            switch (d % 3) {
            case 0:
                canvas.draw(text, Point{position(rng), position(rng) % 3}, Style::plain);
                break;
            case 1:
                canvas.setCell(Cell{text, Style::plain, false}, position(rng), position(rng) % 3);
                break;
            default:
                canvas.withClip(Rect(position(rng), 0, 5, 3), [&](Canvas& c) {
                    c.draw(text, Point{position(rng), 1}, Style::plain, position(rng));
                    c.fill(Rect(position(rng), 2, 2, 1), Style::plain, text);
                });
            }
        }
        const Grid& grid = canvas.grid();
        for (std::int64_t y = 0; y < grid.size.height; ++y) {
            for (std::int64_t x = 0; x < grid.size.width; ++x) {
                const Cell& cell = grid(x, y);
                EXPECT_FALSE(hasControl(cell.character)) << testing::PrintToString(cell.character);
                EXPECT_TRUE(Utf8::isValid(cell.character));
                EXPECT_FALSE(cell.character.empty());
                if (cell.isContinuation) {
                    ASSERT_GE(x, 1);
                    const Cell& left = grid(x - 1, y);
                    EXPECT_FALSE(left.isContinuation);
                    EXPECT_EQ(DisplayWidth::characterWidth(left.character), 2);
                }
            }
        }
    }
}

}  // namespace
}  // namespace tarv::terminal
