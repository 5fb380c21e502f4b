#include "TarvCore/Rules/FuzzyMatcher.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tarv::core;

TEST(FuzzyMatcher, Scores) {
    struct Case {
        std::string query, text;
        std::optional<std::int64_t> expected;
    };
    const std::vector<Case> cases = {
        {"ab", "abc", 77},
        {"ab", "a-b", 43},
        {"ba", "abc", std::nullopt},
        {"AB", "xaXb", *FuzzyMatcher::score("ab", "xaxb")},
        {"ab", "xaXb", 10 - 1 + 10 - 1},
        {"a b", "abc", 77},
        {"a b", "a b", 22 + 10 + 12 - 1},
        {"", "anything", 0},
        {"   ", "anything", 0},
        {"x", "", std::nullopt},
        {"abc", "ab", std::nullopt},
        // Gap of 10 costs 8: a at 0 (22), z after skipping 10 characters (10 - 8).
        {"az", "a0123456789z", 22 + 10 - 8 - 1},
        // Length penalties: 16 characters lose 2, 15 lose 1.
        {"a", "abcdefghijklmnop", 22 + 30 - 2},
        {"a", "abcdefghijklmno", 22 + 30 - 1},
        // Separators that start words: blank, hyphen, underscore, slash, full stop.
        {"b", "a b", 10 + 12 - 2},
        {"b", "a_b", 10 + 12 - 2},
        {"b", "a/b", 10 + 12 - 2},
        {"b", "a.b", 10 + 12 - 2},
        {"b", "ab", 10 - 1},
        // No backtracking: the first "b" is taken even though a later one is better placed.
        {"bc", "b-xbc", 22 + 10 - 3},
        // Letter case is ignored on both sides, also beyond ASCII.
        {"\u00C9T\u00C9", "\u00E9t\u00E9", 22 + 25 + 25 + 30},
        // Canonically equivalent spellings are the same character.
        {"\u00E9", "e\u0301t\u00E9", 22 + 30},
        {"e", "e\u0301", std::nullopt},
        // A letter from another script counts as a letter, not a separator.
        {"b", "\u00E9b", 10 - 1},
        // CR LF is one character.
        {"b", "a\r\nb", 10 + 12 - 2},
        // The Kelvin sign lower-cases and composes to "k".
        {"\u212A", "k", 22 + 30},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FuzzyMatcher::score(c.query, c.text), c.expected) << c.query << " in " << c.text;
    }
}

TEST(FuzzyMatcher, FilterRanksStablyAndKeepsEverythingForABlankQuery) {
    const std::vector<std::string> items = {"zzz", "a-b", "abc", "xab", "cab", "nothing"};
    auto identity = [](const std::string& s) { return s; };
    EXPECT_EQ(FuzzyMatcher::filter(items, "", identity), items);
    EXPECT_EQ(FuzzyMatcher::filter(items, " \t ", identity), items);
    // abc 77, a-b 43, xab and cab both 10-1+10+15 = 34 and keep their order.
    EXPECT_EQ(FuzzyMatcher::filter(items, "ab", identity),
              (std::vector<std::string>{"abc", "a-b", "xab", "cab"}));
    EXPECT_TRUE(FuzzyMatcher::filter(items, "qq", identity).empty());
}

TEST(FuzzyMatcher, FilterUsesTheGivenText) {
    struct Item {
        int id;
        std::string title;
        bool operator==(const Item&) const = default;
    };
    const std::vector<Item> items = {{1, "Push"}, {2, "Pull"}, {3, "Fetch"}};
    const auto result = FuzzyMatcher::filter(items, "pl", [](const Item& i) { return i.title; });
    ASSERT_EQ(result.size(), 1u);
    EXPECT_EQ(result[0].id, 2);
}
