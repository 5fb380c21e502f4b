#include "TarvCore/Text/Trim.hpp"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "TarvCore/Text/Graphemes.hpp"
#include "TarvCore/Text/Unicode.hpp"

namespace tarv::core::text {
namespace {

// A view of a temporary string would dangle, so it does not compile.
template <class T>
concept CanTakeView = requires(T&& t) { trimmedView(std::forward<T>(t)); };
static_assert(!CanTakeView<std::string>);
static_assert(CanTakeView<std::string&>);
static_assert(CanTakeView<const char (&)[4]>);
static_assert(CanTakeView<std::string_view>);

struct TrimCase {
    const char* name;
    std::string input;
    std::string expected;
};

TEST(TrimTest, RemovesUnicodeWhiteSpaceAtBothEnds) {
    const std::vector<TrimCase> cases = {
        {"empty", "", ""},
        {"only spaces", "   ", ""},
        {"spaces around", "  Fix  ", "Fix"},
        {"inner spaces kept", " a  b ", "a  b"},
        {"tabs and line ends", "\t\r\na b\r\n\n", "a b"},
        {"no-break and ideographic spaces", "\xC2\xA0x\xE3\x80\x80", "x"},
        {"line separator", "a\xE2\x80\xA8", "a"},
        {"non-ASCII before a trailing space", "\xC3\xA9 ", "\xC3\xA9"},
        {"space carrying a mark goes whole", "x \xCC\x81", "x"},
        {"leading space carrying a mark", " \xCC\x81x", "x"},
        {"a zero-width space is not white space", "\xE2\x80\x8B" "a", "\xE2\x80\x8B" "a"},
        // U+0600 is a prepended mark: it and the space form one character
        // whose first scalar is not white space.
        {"prepended mark keeps its space", "a\xD8\x80 ", "a\xD8\x80 "},
        {"several lines of white space", "a\n \xCC\x81\n\xC2\xA0", "a"},
        {"ill-formed bytes are kept", "  \xFF" "a\xFE  ", "\xFF" "a\xFE"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(trimmed(c.input), c.expected) << c.name;
    }
}

// Reference: whole clusters from both ends while they are white space.
std::string referenceTrim(const std::string& text) {
    std::vector<std::string_view> clusters;
    forEachGrapheme(text, [&](std::string_view c) { clusters.push_back(c); });
    std::size_t first = 0;
    while (first < clusters.size() && isWhitespace(clusters[first])) ++first;
    std::size_t last = clusters.size();
    while (last > first && isWhitespace(clusters[last - 1])) --last;
    std::string out;
    for (std::size_t k = first; k < last; ++k) out.append(clusters[k]);
    return out;
}

TEST(TrimTest, AgreesWithClusterByClusterTrimming) {
    const std::vector<std::string> pieces = {"a", " ", "\r", "\n", "\t", "\xCC\x81", "\xC2\xA0", "\xE3\x80\x80",
                                             "\xD8\x80", "\xE4\xB8\xAD", "\xFF"};
    std::mt19937 random(11);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 12);
        for (int k = 0; k < length; ++k) text += pieces[random() % pieces.size()];
        ASSERT_EQ(trimmed(text), referenceTrim(text)) << testing::PrintToString(text);
    }
}

}  // namespace
}  // namespace tarv::core::text
