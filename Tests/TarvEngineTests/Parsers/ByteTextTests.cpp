#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "TarvEngine/Parsers/ByteText.hpp"

namespace tarv::engine {
namespace {

using namespace std::string_view_literals;

TEST(ByteText, CountFindsEveryOccurrenceWhereverItStands) {
    struct Case {
        std::string_view text;
        char byte;
        std::size_t expected;
    };
    const std::string longGap = std::string(1000, 'x') + '\0' + std::string(70, 'y') + '\0';
    const Case cases[] = {
        {""sv, '\0', 0},
        {"abc"sv, '\0', 0},
        {"\0"sv, '\0', 1},
        {"\0\0\0"sv, '\0', 3},               // adjacent
        {"\0a\0"sv, '\0', 2},                // first and last byte
        {"1 .M path\0? new\0"sv, '\0', 2},  // records as git ends them
        {longGap, '\0', 2},                  // far apart
        {"a b  c"sv, ' ', 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.text)));
        EXPECT_EQ(bytes::count(c.text, c.byte), c.expected);
    }
    // Only the bytes inside the view count.
    EXPECT_EQ(bytes::count("\0ab\0"sv.substr(1, 2), '\0'), 0u);
}

}  // namespace
}  // namespace tarv::engine
