#include "TarvCore/Rules/WordDiff.hpp"

#include <gtest/gtest.h>

using namespace tarv::core;
using WordDiff::ChangedRanges;
using WordDiff::Range;

namespace tarv::core::WordDiff {
void PrintTo(const ChangedRanges& ranges, std::ostream* os) {
    for (const auto* side : {&ranges.oldRanges, &ranges.newRanges}) {
        *os << "[";
        for (const Range& r : *side) *os << " [" << r.start << ", " << r.end << ")";
        *os << " ] ";
    }
}
}  // namespace tarv::core::WordDiff

namespace {

std::string tokensLine(int count) {
    // "a b a b ..." : words and blanks alternate, `count` tokens in all.
    std::string line;
    for (int i = 0; i < count; ++i) line += (i % 2 == 0) ? (i % 4 == 0 ? "a" : "b") : " ";
    return line;
}

}  // namespace

TEST(WordDiff, ChangedRanges) {
    struct Case {
        std::string oldLine, newLine;
        ChangedRanges expected;
    };
    const std::vector<Case> cases = {
        {"", "x", {}},
        {"x", "", {}},
        {"same line", "same line", {}},
        {"x", "y", {}},
        {"let a = 1", "let b = 1", {{{4, 5}}, {{4, 5}}}},
        {"foo_bar(x)", "foo_bar(y)", {{{8, 9}}, {{8, 9}}}},
        // Two blanks form one token, as do a tab and a blank.
        {"a  b", "a b", {{{1, 3}}, {{1, 2}}}},
        {"a \tb", "a b", {{{1, 3}}, {{1, 2}}}},
        // Neighbouring changed tokens merge; a kept token separates ranges.
        {"one two three", "one 2 3", {{{4, 7}, {8, 13}}, {{4, 5}, {6, 7}}}},
        {"a b", "a b c d", {{}, {{3, 7}}}},
        // Offsets count characters: the accented letter with a combining mark is one.
        {"e\u0301t\u00E9 x", "e\u0301t\u00E9 y", {{{4, 5}}, {{4, 5}}}},
        // Canonically equivalent spellings are equal tokens.
        {"\u00E9 x", "e\u0301 y", {{{2, 3}}, {{2, 3}}}},
        // Letter case matters.
        {"Foo bar", "foo bar", {{{0, 3}}, {{0, 3}}}},
        // Letters of any script form words; punctuation is one character each.
        {"\u0434\u0430 ++", "\u0434\u0430 +-", {{{4, 5}}, {{4, 5}}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WordDiff::changedRanges(c.oldLine, c.newLine), c.expected) << c.oldLine << " | " << c.newLine;
    }
}

TEST(WordDiff, GivesUpAbove400Tokens) {
    const std::string at400 = tokensLine(400);
    const std::string over = tokensLine(401);
    EXPECT_EQ(WordDiff::changedRanges(at400, "c" + at400.substr(1)), (ChangedRanges{{{0, 1}}, {{0, 1}}}));
    EXPECT_EQ(WordDiff::changedRanges(over, at400), ChangedRanges{});
    EXPECT_EQ(WordDiff::changedRanges(at400, over), ChangedRanges{});
    // A very long line is given up on without being read whole.
    EXPECT_EQ(WordDiff::changedRanges(std::string(1 << 20, ';'), "x;"), ChangedRanges{});
}
