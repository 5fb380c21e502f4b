#include "TarvCore/Text/Graphemes.hpp"

#include <gtest/gtest.h>

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

// The fast ASCII paths must agree with plain cluster-by-cluster segmentation,
// above all where ASCII meets non-ASCII (a base letter before a mark, CR LF
// next to multibyte text).
TEST(GraphemesTest, FastPathsAgreeWithTheGeneralSegmentation) {
    const std::vector<std::string> pieces = {"a", "b", "\r", "\n", " ", "\xCC\x81", "\xE4\xB8\xAD", "\xF0\x9F\x91\x8D",
                                             "\xF0\x9F\x8F\xBD", "\xF0\x9F\x87\xAA", "\xE2\x80\x8D", "\xFF", "\xC3"};
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 24);
        for (int k = 0; k < length; ++k) text += pieces[random() % pieces.size()];
        std::size_t expected = 0;
        for (std::size_t i = 0; i < text.size(); ++expected) i = detail::nextGraphemeBoundarySlow(text, i);
        std::size_t visited = 0;
        forEachGrapheme(text, [&](std::string_view) { ++visited; });
        ASSERT_EQ(graphemeCount(text), expected) << testing::PrintToString(text);
        ASSERT_EQ(visited, expected) << testing::PrintToString(text);
    }
}

}  // namespace
}  // namespace tarv::core::text
