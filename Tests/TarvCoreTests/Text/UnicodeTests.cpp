#include "TarvCore/Text/Unicode.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "TarvCore/Text/HashCombine.hpp"

namespace tarv::core::text {
namespace {

TEST(UnicodeTest, CategoriesOfLettersNumbersAndWhiteSpace) {
    struct Row {
        char32_t c;
        bool letter, number, space;
    };
    const std::vector<Row> rows = {
        {U'a', true, false, false},       {U'Z', true, false, false},       {0xE9, true, false, false},
        {0xDF, true, false, false},       {0x4E2D, true, false, false},     {0x02B0, true, false, false},
        {U'5', false, true, false},       {0x0663, false, true, false},     {0x216B, false, true, false},
        {0x00BD, false, true, false},     {U'-', false, false, false},      {0x1F600, false, false, false},
        {0x0301, false, false, false},    {U' ', false, false, true},       {U'\t', false, false, true},
        {0x0B, false, false, true},       {0x85, false, false, true},       {0xA0, false, false, true},
        {0x1680, false, false, true},     {0x2000, false, false, true},     {0x200A, false, false, true},
        {0x2028, false, false, true},     {0x2029, false, false, true},     {0x202F, false, false, true},
        {0x205F, false, false, true},     {0x3000, false, false, true},     {0x200B, false, false, false},
        {0x180E, false, false, false},    {0xFEFF, false, false, false},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(isLetter(r.c), r.letter) << std::hex << static_cast<std::uint32_t>(r.c);
        EXPECT_EQ(isNumber(r.c), r.number) << std::hex << static_cast<std::uint32_t>(r.c);
        EXPECT_EQ(isWhitespace(r.c), r.space) << std::hex << static_cast<std::uint32_t>(r.c);
    }
    EXPECT_TRUE(isLetter(std::string_view("e\xCC\x81")));
    EXPECT_FALSE(isLetter(std::string_view("")));
}

TEST(UnicodeTest, LowerCasing) {
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"", ""},
        {"MixedCase 123", "mixedcase 123"},
        {"\xC3\x80\xC3\x89\xC3\x8E", "\xC3\xA0\xC3\xA9\xC3\xAE"},  // ÀÉÎ
        {"\xC4\xB0", "i\xCC\x87"},                                  // İ: i and a combining dot
        {"\xCE\xA3\xCE\x91\xCE\xA3", "\xCF\x83\xCE\xB1\xCF\x83"},  // ΣΑΣ: no final-sigma rule
        {"A\xFF", "a\xEF\xBF\xBD"},
    };
    for (const auto& [in, out] : rows) EXPECT_EQ(lowercased(in), out) << in;
}

TEST(UnicodeTest, CanonicalEquivalence) {
    EXPECT_EQ(nfc("e\xCC\x81"), "\xC3\xA9");
    EXPECT_EQ(nfc("\xE2\x84\xAB"), "\xC3\x85");  // Angstrom sign -> Å
    EXPECT_EQ(nfc("plain"), "plain");
    EXPECT_TRUE(equalNFC("\xC3\xA9", "e\xCC\x81"));
    EXPECT_FALSE(equalNFC("e", "\xC3\xA9"));
    EXPECT_FALSE(equalNFC("a", "b"));
    EXPECT_EQ(compareNFC("e\xCC\x81", "\xC3\xA9"), std::strong_ordering::equal);
    EXPECT_EQ(compareNFC("e\xCC\x81", "f"), std::strong_ordering::greater);  // é is U+00E9
    EXPECT_EQ(compareNFC("abc", "abd"), std::strong_ordering::less);
}

TEST(HashCombineTest, OrderPresenceAndCountMatter) {
    EXPECT_NE(hashValues(std::vector<int>{1, 2}), hashValues(std::vector<int>{2, 1}));
    EXPECT_NE(hashValues(std::optional<int>{}), hashValues(std::optional<int>{0}));
    EXPECT_NE(hashValues(std::string("a"), std::string("b")), hashValues(std::string("b"), std::string("a")));
    EXPECT_EQ(hashValues(std::string("a"), 1), hashValues(std::string("a"), 1));
}

}  // namespace
}  // namespace tarv::core::text
