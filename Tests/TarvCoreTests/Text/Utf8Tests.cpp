#include "TarvCore/Text/Utf8.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tarv::core::text {
namespace {

struct LossyCase {
    const char* name;
    std::string input;
    std::string expected;
};

const std::string R = "\xEF\xBF\xBD";  // U+FFFD

TEST(Utf8Test, LossyDecodingReplacesEachMaximalSubpart) {
    const std::vector<LossyCase> cases = {
        {"empty", "", ""},
        {"ascii", "abc", "abc"},
        {"valid multibyte", "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80", "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"},
        {"lone FF after letters", "fo\xFF", "fo" + R},
        {"truncated 2-byte at end", "\xC3", R},
        {"truncated 2-byte before ASCII", "\xC3" "A", R + "A"},
        {"truncated 3-byte is one subpart", "\xE4\xB8", R},
        {"truncated 3-byte before ASCII", "\xE4\xB8" "A", R + "A"},
        {"truncated 4-byte is one subpart", "\xF0\x9F\x98", R},
        {"overlong 2-byte", "\xC0\xAF", R + R},
        {"overlong 3-byte", "\xE0\x80\xAF", R + R + R},
        {"surrogate", "\xED\xA0\x80", R + R + R},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", R + R + R + R},
        {"F5 never starts a sequence", "\xF5", R},
        {"lone continuation bytes", "\x80\xBF", R + R},
        // The example of the Unicode standard (table 3-8).
        {"standard example", "\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",
         "a" + R + R + R + "b" + R + "c" + R + R + "d"},
        {"bad byte inside a long valid run", std::string(20, 'x') + "\xFF" + std::string(20, 'y'),
         std::string(20, 'x') + R + std::string(20, 'y')},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decodeLossy(c.input), c.expected) << c.name;
        EXPECT_EQ(isValidUtf8(c.input), c.input == c.expected) << c.name;
        EXPECT_TRUE(isValidUtf8(decodeLossy(c.input))) << c.name;
    }
}

TEST(Utf8Test, LossyDecodingOfByteLists) {
    const std::vector<std::uint8_t> bytes = {0x66, 0x6F, 0xFF};
    EXPECT_EQ(decodeLossy(bytes), "fo" + R);
    EXPECT_EQ(decodeLossy(std::vector<std::uint8_t>{}), "");
}

TEST(Utf8Test, ScalarsReadIllFormedSubpartsAsReplacement) {
    EXPECT_EQ(scalars("a\xC3\xA9\xE4\xB8\xFF"), (std::u32string{U'a', 0xE9, 0xFFFD, 0xFFFD}));
}

TEST(Utf8Test, AppendUtf8EncodesEveryLengthAndRefusesSurrogates) {
    std::string out;
    for (char32_t c : {U'A', char32_t{0xE9}, char32_t{0x4E2D}, char32_t{0x1F600}, char32_t{0xD800}, char32_t{0x110000}})
        appendUtf8(out, c);
    EXPECT_EQ(out, "A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80" + R + R);
}

}  // namespace
}  // namespace tarv::core::text
