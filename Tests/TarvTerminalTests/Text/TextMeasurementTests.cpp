#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/Grapheme.hpp"
#include "TarvTerminal/Text/TextSlicing.hpp"
#include "TarvTerminal/Text/TextTruncation.hpp"
#include "TarvTerminal/Text/TextWrapping.hpp"

namespace tarv::terminal {
namespace {

TEST(DisplayWidth, TextTable) {
    struct Case {
        std::string text;
        std::int64_t width;
    };
    const Case cases[] = {
        {"abc", 3},
        {"\xE6\xBC\xA2\xE5\xAD\x97", 4},                  // 漢字
        {"a\xCC\x81", 1},                                // a + combining acute
        {"\r\n", 0},
        {"\t", 0},
        {"\xF0\x9F\x91\x8D", 2},                         // 👍
        {"\xE2\x9D\xA4\xEF\xB8\x8F", 2},                 // ❤ + VS16
        {"\xE2\x9D\xA4", 1},                             // ❤ text presentation
        {"\xE2\x80\x8D", 0},                             // ZWJ alone
        {"\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7", 2},  // family
        {"\xF0\x9F\x87\xAA\xF0\x9F\x87\xB8", 2},         // flag ES
        {"\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD", 2},         // thumbs up, skin tone
        {"#\xEF\xB8\x8F\xE2\x83\xA3", 2},                // keycap #
        {"\xEA\xB0\x80", 2},                             // Hangul syllable
        {"\xEF\xBC\xA1", 2},                             // fullwidth A
        {"\xC2\x85", 0},                                 // C1 NEL
        {"\x1b[31m", 4},                                 // ESC is 0, "[31m" 4
        {"\xFF", 1},                                     // invalid byte shows as U+FFFD
        {"e\xCC\x81\xCC\x82x", 2},
    };
    for (const Case& c : cases) EXPECT_EQ(DisplayWidth::width(c.text), c.width) << testing::PrintToString(c.text);
}

// Emoji that terminals draw two columns wide, which an older table measured
// as one (every later cell of the row would be shifted).
TEST(DisplayWidth, ScalarWidthsFollowEastAsianWidthAndEmojiPresentation) {
    struct Case {
        char32_t scalar;
        int width;
    };
    const Case cases[] = {
        {U'a', 1},      {0x1F680, 2},  // rocket
        {0x2705, 2},                   // white heavy check mark
        {0x26A1, 2},                   // high voltage
        {0x2728, 2},                   // sparkles
        {0x231A, 2},                   // watch
        {0x1F6A7, 2},                  // construction
        {0x1FA77, 2},                  // pink heart (Unicode 15)
        {0x1F1E6, 2},                  // regional indicator A
        {0x2764, 1},                   // heavy black heart, text presentation by default
        {0x4DC0, 1},                   // hexagram (neutral width)
        {0x3000, 2},   {0x4E00, 2},   {0xAC00, 2},  {0x20000, 2}, {0x3FFFD, 2},
        {0x0301, 0},   {0x0591, 0},   {0x200B, 0},  {0x2060, 0},  {0xFE0F, 0},   {0x00AD, 1},
        {0x0000, 0},   {0x001B, 0},   {0x007F, 0},  {0x0085, 0},  {0x009F, 0},   {0x00A0, 1},
        {0xE000, 1},   {0x2500, 1},   {0x2026, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DisplayWidth::width(c.scalar), c.width) << std::hex << static_cast<std::uint32_t>(c.scalar);
    }
    EXPECT_EQ(DisplayWidth::characterWidth("\xEF\xB8\x8F"), 2);  // a lone VS16 character
}

TEST(GraphemeCursor, SplitsIntoClusters) {
    const std::string text = "a\xCC\x81" "b\r\n\xF0\x9F\x87\xAA\xF0\x9F\x87\xB8\xF0\x9F\x87\xAB" "x\xFF" "c";
    GraphemeCursor cursor(text);
    Grapheme g;
    std::vector<std::string> parts;
    while (cursor.next(g)) parts.push_back(g.text());
    const std::vector<std::string> expected = {"a\xCC\x81", "b", "\r\n", "\xF0\x9F\x87\xAA\xF0\x9F\x87\xB8",
                                               "\xF0\x9F\x87\xAB", "x", "\xEF\xBF\xBD", "c"};
    EXPECT_EQ(parts, expected);
}

TEST(TextSlicing, DisplayableTable) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"a\tb", "a   b"},
        {"abcd\te", "abcd    e"},
        {"x\r\n", "x\xC2\xB7"},
        {"\xE6\xBC\xA2\tz", "\xE6\xBC\xA2  z"},                  // tab stop counts the wide character
        {"a\x1b[31mb", "a\xC2\xB7[31mb"},
        {"\x7f", "\xC2\xB7"},
        {"\xC2\x9B" "31m", "\xC2\xB7" "31m"},                     // C1 CSI never reaches the terminal
        {"ok\xFF", "ok\xEF\xBF\xBD"},
        {"e\xCC\x81\tx", "e\xCC\x81   x"},
    };
    for (const Case& c : cases) EXPECT_EQ(TextSlicing::displayable(c.text), c.expected) << testing::PrintToString(c.text);
    EXPECT_EQ(TextSlicing::displayable("a\tb", 1), "a b");
    EXPECT_EQ(TextSlicing::displayable("a\tb", 0), "a b");
}

// Names keep every character visible: a control is never dropped, so two
// names that differ only by one never look the same.
TEST(TextSlicing, WithVisibleControlsTable) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"a\nb.txt", "a\xC2\xB7" "b.txt"},
        {"ab.txt", "ab.txt"},
        {"a\tb", "a\xC2\xB7" "b"},                                 // a tab is not widened to spaces
        {"a\r\nb", "a\xC2\xB7\xC2\xB7" "b"},                      // one dot per control
        {"\x1b[31m", "\xC2\xB7[31m"},
        {"\x7f\xC2\x9B", "\xC2\xB7\xC2\xB7"},                      // DEL and C1
        {"\xC3\n\xE6\xBC\xA2", "\xC3\xC2\xB7\xE6\xBC\xA2"},   // a cut sequence stays, the break shows
        {"e\xCC\x81", "e\xCC\x81"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextSlicing::withVisibleControls(c.text), c.expected) << testing::PrintToString(c.text);
    }
}

TEST(TextSlicing, SliceTable) {
    struct Case {
        std::string text;
        std::int64_t start, width;
        std::string expected;
    };
    const std::string kan = "\xE6\xBC\xA2";
    const std::string ji = "\xE5\xAD\x97";
    const Case cases[] = {
        {"abcdef", 2, 3, "cde"},
        {"abc", 5, 2, ""},
        {kan + ji, 1, 2, "  "},
        {"ab" + kan, 0, 3, "ab "},
        {"abc", 0, 0, ""},
        {"abc", 1, -1, ""},
        {"a" + kan + "b", 1, 3, kan + "b"},
        {"a" + kan + "b", 2, 1, " "},
        {"ae\xCC\x81z", 1, 1, "e\xCC\x81"},
        {"ab\xE2\x80\x8B" "cd", 2, 2, "\xE2\x80\x8B" "cd"},
        {"ab\xE2\x80\x8B" "cd", 0, 2, "ab\xE2\x80\x8B"},
        {"x\xFFy", 0, 3, "x\xEF\xBF\xBDy"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextSlicing::slice(c.text, c.start, c.width), c.expected)
            << testing::PrintToString(c.text) << " " << c.start << " " << c.width;
    }
}

TEST(TextWrapping, WrapTable) {
    struct Case {
        std::string text;
        std::int64_t width;
        std::vector<std::string> expected;
    };
    const std::string kan = "\xE6\xBC\xA2";
    const Case cases[] = {
        {"the quick brown fox", 10, {"the quick", "brown fox"}},
        {"a\n\nb", 5, {"a", "", "b"}},
        {"abcdefghij", 4, {"abcd", "efgh", "ij"}},
        {"x", 0, {}},
        {"", 5, {""}},
        {"  a  b ", 10, {"a b"}},
        {"a" + kan, 2, {"a ", " "}},
        {"hi abcdefgh", 4, {"hi", "abcd", "efgh"}},
        {kan + kan + kan, 1, {" ", " ", " ", " ", " ", " "}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextWrapping::wrap(c.text, c.width), c.expected) << testing::PrintToString(c.text);
    }
}

TEST(TextTruncation, TailAndMiddleTable) {
    EXPECT_EQ(TextTruncation::tail("abcdefgh", 5), "abcd\xE2\x80\xA6");
    EXPECT_EQ(TextTruncation::tail("abc", 3), "abc");
    EXPECT_EQ(TextTruncation::tail("abc", 1), "\xE2\x80\xA6");
    EXPECT_EQ(TextTruncation::tail("abc", 0), "");
    EXPECT_EQ(TextTruncation::tail("\xE6\xBC\xA2\xE5\xAD\x97x", 4), "\xE6\xBC\xA2\xE2\x80\xA6");
    EXPECT_EQ(TextTruncation::tail("a\xE6\xBC\xA2\xE5\xAD\x97", 3), "a\xE2\x80\xA6");

    EXPECT_EQ(TextTruncation::middle("abcdefghij", 7, std::nullopt), "ab\xE2\x80\xA6ghij");
    EXPECT_EQ(TextTruncation::middle("abcdefghij", 7, 1), "abcde\xE2\x80\xA6j");
    EXPECT_EQ(TextTruncation::middle("abcdefghij", 7, 10), "a\xE2\x80\xA6" "fghij");
    EXPECT_EQ(TextTruncation::middle("abcdefghij", 1, std::nullopt), "\xE2\x80\xA6");
    EXPECT_EQ(TextTruncation::middle("abcdefghij", 0, std::nullopt), "");
    EXPECT_EQ(TextTruncation::middle("abc", 3, std::nullopt), "abc");
    EXPECT_EQ(TextTruncation::middle("src/\xE6\xBC\xA2\xE5\xAD\x97/file.txt", 10, std::nullopt),
              "src\xE2\x80\xA6" "le.txt");
}

// A line cut between words reads as what it says: never "3 minutes a".
TEST(TextTruncation, WholeWordsTable) {
    struct Case {
        std::string text;
        std::int64_t width;
        std::string expected;
    };
    const std::string kan = "\xE6\xBC\xA2";
    const Case cases[] = {
        {"Last fetched 3 minutes ago", 26, "Last fetched 3 minutes ago"},
        {"Last fetched 3 minutes ago", 24, "Last fetched 3 minutes\xE2\x80\xA6"},
        {"Last fetched 3 minutes ago", 23, "Last fetched 3 minutes\xE2\x80\xA6"},
        {"Last fetched 3 minutes ago", 22, "Last fetched 3\xE2\x80\xA6"},
        {"Last fetched", 5, "Last\xE2\x80\xA6"},
        {"Last fetched", 4, ""},                                      // not even the first word: nothing
        {"two  blanks here", 10, "two\xE2\x80\xA6"},                // the cut drops the blanks before it
        {kan + kan + " " + kan + "x", 6, kan + kan + "\xE2\x80\xA6"},  // widths, not bytes
        {"abc", 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextTruncation::wholeWords(c.text, c.width), c.expected) << c.text << " " << c.width;
    }
}

}  // namespace
}  // namespace tarv::terminal
