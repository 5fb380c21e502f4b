#include "TarvCore/Rules/Trimmed.hpp"

#include <gtest/gtest.h>

using tarv::core::trimmed;

TEST(Trimmed, RemovesUnicodeWhiteSpaceAtBothEnds) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"   ", ""},
        {"\r\n\t ", ""},
        {"  a b  ", "a b"},
        {"\u00A0x\u3000", "x"},
        {"\u2028line\u2029", "line"},
        {"x\r\n", "x"},
        {"\u00E9 ", "\u00E9"},
        {" e\u0301", "e\u0301"},
        // A combining mark belongs to the character before it.
        {"a \u0301", "a"},
        {"\u200Bx", "\u200Bx"},  // zero-width space is not White_Space
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(trimmed(in), out) << in;
}
