#include "TarvCore/Text/Graphemes.hpp"

#include <gtest/gtest.h>
#include <utf8proc.h>

#include <random>
#include <vector>

namespace tarv::core::text {
namespace {

struct SegmentCase {
    const char* name;
    std::string input;
    std::vector<std::string> clusters;
};

TEST(GraphemesTest, SplitsIntoExtendedGraphemeClusters) {
    const std::vector<SegmentCase> cases = {
        {"empty", "", {}},
        {"ascii", "abc", {"a", "b", "c"}},
        {"CR LF is one", "a\r\nb", {"a", "\r\n", "b"}},
        {"CR CR LF", "\r\r\n", {"\r", "\r\n"}},
        {"combining mark joins its base", "e\xCC\x81x", {"e\xCC\x81", "x"}},
        {"combining mark at the end", "ae\xCC\x81", {"a", "e\xCC\x81"}},
        {"two marks", "o\xCC\x88\xCC\x81", {"o\xCC\x88\xCC\x81"}},
        {"emoji with skin tone", "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD!", {"\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD", "!"}},
        {"two flags", "\xF0\x9F\x87\xAA\xF0\x9F\x87\xB8\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7",
         {"\xF0\x9F\x87\xAA\xF0\x9F\x87\xB8", "\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7"}},
        {"ZWJ family", "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7",
         {"\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7"}},
        {"CJK", "\xE4\xB8\xAD\xE6\x96\x87", {"\xE4\xB8\xAD", "\xE6\x96\x87"}},
        {"Hangul jamo", "\xE1\x84\x80\xE1\x85\xA1\xE1\x86\xA8", {"\xE1\x84\x80\xE1\x85\xA1\xE1\x86\xA8"}},
        {"ill-formed byte becomes U+FFFD and takes a mark", "\xFF\xCC\x81z", {"\xEF\xBF\xBD\xCC\x81", "z"}},
        {"LF never takes a mark", "\n\xCC\x81", {"\n", "\xCC\x81"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(graphemes(c.input), c.clusters) << c.name;
        EXPECT_EQ(graphemeCount(c.input), c.clusters.size()) << c.name;
        std::string joined;
        forEachGrapheme(c.input, [&](std::string_view cluster) { joined.append(cluster); });
        EXPECT_EQ(joined, c.input) << c.name;
    }
}

TEST(GraphemesTest, PrefixTakesWholeClusters) {
    EXPECT_EQ(graphemePrefix("abcdefghij", 7), "abcdefg");
    EXPECT_EQ(graphemePrefix("abc", 7), "abc");
    EXPECT_EQ(graphemePrefix("e\xCC\x81" "f", 1), "e\xCC\x81");
    EXPECT_EQ(graphemePrefix("", 3), "");
}

// Reference: utf8proc's stateful break test over every pair of scalars of the
// whole text (ill-formed subparts read as U+FFFD).
std::size_t referenceCount(std::string_view text) {
    std::size_t count = 0;
    utf8proc_int32_t state = 0;
    char32_t previous = 0;
    for (std::size_t i = 0; i < text.size();) {
        const DecodedScalar d = decodeScalar(text, i);
        if (i == 0 || utf8proc_grapheme_break_stateful(static_cast<utf8proc_int32_t>(previous),
                                                       static_cast<utf8proc_int32_t>(d.scalar), &state)) {
            ++count;
        }
        previous = d.scalar;
        i += d.length;
    }
    return count;
}

// The fast paths must agree with plain segmentation, above all where ASCII
// meets non-ASCII (a base letter before a mark, CR LF next to multibyte text,
// a prepended mark before an ASCII letter).
TEST(GraphemesTest, FastPathsAgreeWithTheGeneralSegmentation) {
    const std::vector<std::string> pieces = {
        "a", "b", "\r", "\n", " ", "\xCC\x81", "\xE0\xA4\x83" /* spacing mark */, "\xD8\x80" /* prepend */,
        "\xE4\xB8\xAD", "\xE1\x84\x80" /* Hangul L */, "\xE1\x85\xA1" /* Hangul V */, "\xF0\x9F\x91\x8D",
        "\xF0\x9F\x8F\xBD", "\xF0\x9F\x87\xAA", "\xE2\x80\x8D", "\xFF", "\xC3"};
    std::mt19937 random(7);
    for (int round = 0; round < 4000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 24);
        for (int k = 0; k < length; ++k) text += pieces[random() % pieces.size()];
        const std::size_t expected = referenceCount(text);
        std::size_t visited = 0;
        std::size_t stepped = 0;
        forEachGrapheme(text, [&](std::string_view) { ++visited; });
        for (std::size_t i = 0; i < text.size(); ++stepped) i = nextGraphemeBoundary(text, i);
        ASSERT_EQ(graphemeCount(text), expected) << testing::PrintToString(text);
        ASSERT_EQ(visited, expected) << testing::PrintToString(text);
        ASSERT_EQ(stepped, expected) << testing::PrintToString(text);
    }
}

}  // namespace
}  // namespace tarv::core::text
