#include "TarvCore/Text/Split.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tarv::core::text {
namespace {

template <class T>
concept CanSplit = requires(T&& t) { split(std::forward<T>(t), ','); };
static_assert(!CanSplit<std::string>);
static_assert(CanSplit<const std::string&>);
static_assert(CanSplit<const char (&)[4]>);

struct SplitCase {
    const char* name;
    std::string input;
    std::string separator;
    SplitOptions options;
    std::vector<std::string> expected;
};

constexpr std::size_t unlimited = std::numeric_limits<std::size_t>::max();

TEST(SplitTest, FollowsTheLimitAndEmptyPieceRules) {
    const std::vector<SplitCase> cases = {
        {"empties dropped", "a,b,,c", ",", {}, {"a", "b", "c"}},
        {"empties kept", "a,b,,c", ",", {unlimited, false}, {"a", "b", "", "c"}},
        {"empty text, dropped", "", ",", {}, {}},
        {"empty text, kept", "", ",", {unlimited, false}, {""}},
        {"separators at both ends, kept", ",a,", ",", {unlimited, false}, {"", "a", ""}},
        {"separators at both ends, dropped", ",a,", ",", {}, {"a"}},
        {"one cut", "a,b,c", ",", {1, true}, {"a", "b,c"}},
        {"dropped empties do not count as cuts", ",,a,b,c", ",", {1, true}, {"a", "b,c"}},
        {"kept empties count as cuts", ",,a,b", ",", {1, false}, {"", ",a,b"}},
        {"no cut", "a,b", ",", {0, true}, {"a,b"}},
        {"no cut of empty text keeps nothing", "", ",", {0, true}, {}},
        {"two cuts keeping empties", "a,,b,c", ",", {2, false}, {"a", "", "b,c"}},
        {"trailing separator, kept", "a,", ",", {unlimited, false}, {"a", ""}},
        {"limit reached at a trailing separator", "a,", ",", {1, false}, {"a", ""}},
        {"NUL separated records", std::string("1 a\0? b\0", 8), std::string(1, '\0'), {}, {"1 a", "? b"}},
        {"LF after CR still cuts", "a\r\nb", "\n", {}, {"a\r", "b"}},
        {"multibyte separator", "a::b::", "::", {unlimited, false}, {"a", "b", ""}},
        {"bytes kept", "\xFF|\xFE", "|", {}, {"\xFF", "\xFE"}},
    };
    for (const auto& c : cases) {
        const auto pieces = split(c.input, std::string_view(c.separator), c.options);
        EXPECT_EQ(std::vector<std::string>(pieces.begin(), pieces.end()), c.expected) << c.name;
        if (c.separator.size() == 1) {
            const auto byChar = split(c.input, c.separator[0], c.options);
            EXPECT_EQ(std::vector<std::string>(byChar.begin(), byChar.end()), c.expected) << c.name;
        }
    }
}

}  // namespace
}  // namespace tarv::core::text
