#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#include "TarvCore/Models/DiffLines.hpp"

namespace tarv::core {
namespace {

using Kind = DiffLine::Kind;

// Lines read back exactly as they went in, whether their numbers fit the
// compact records or not (one that does not switches the whole container).
TEST(DiffLines, KeepsEveryLineAsGiven) {
    constexpr std::int64_t huge = std::numeric_limits<std::int64_t>::max();
    const std::vector<DiffLine> lines{
        {Kind::context, "a", 1, 1},
        {Kind::removed, "", 4294967294, std::nullopt},
        {Kind::added, "tab\there\r", std::nullopt, 0},
        {Kind::noNewlineMarker, "No newline at end of file", std::nullopt, std::nullopt},
        {Kind::context, "x", -3, huge},
        {Kind::added, "after the switch", std::nullopt, 4294967295},
    };
    DiffLines stored;
    for (const DiffLine& line : lines) stored.push_back(line);
    ASSERT_EQ(stored.size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(stored[i], lines[i]) << i;
    EXPECT_EQ(stored, (DiffLines{lines[0], lines[1], lines[2], lines[3], lines[4], lines[5]}));
    EXPECT_NE(stored, (DiffLines{lines[0]}));
}

// Copies share the texts; changing one never changes another, also when the
// texts view a buffer that other containers hold (the hunks of one parsed
// diff share git's output).
TEST(DiffLines, ChangingACopyLeavesTheOthers) {
    const std::string output = "+one\n+two\n";
    auto buffer = std::make_shared<const Bytes>(toBytes(output));
    DiffLines first(buffer);
    first.appendView(Kind::added, 1, 3, std::nullopt, 1);
    DiffLines second(buffer);
    second.appendView(Kind::added, 6, 3, std::nullopt, 2);
    DiffLines copy = first;

    copy.push_back(DiffLine{Kind::added, "three", std::nullopt, 3});
    copy.set(0, DiffLine{Kind::removed, "uno", 1, std::nullopt});
    EXPECT_EQ(first, (DiffLines{{Kind::added, "one", std::nullopt, 1}}));
    EXPECT_EQ(second, (DiffLines{{Kind::added, "two", std::nullopt, 2}}));
    EXPECT_EQ(copy, (DiffLines{{Kind::removed, "uno", 1, std::nullopt}, {Kind::added, "three", std::nullopt, 3}}));
    EXPECT_EQ(*buffer, toBytes(output));
}

// A line may be appended from a text that views the container itself.
TEST(DiffLines, AppendsALineReadFromItself) {
    DiffLines lines{{Kind::context, "same", 1, 1}};
    for (int i = 0; i < 100; ++i) lines.push_back(lines[0]);
    EXPECT_EQ(lines.size(), 101u);
    EXPECT_EQ(lines.back(), (DiffLine{Kind::context, "same", 1, 1}));
}

TEST(DiffLines, RefusesViewsOutsideItsBuffer) {
    DiffLines lines(std::make_shared<const Bytes>(toBytes("abc")));
    EXPECT_THROW(lines.appendView(Kind::context, 2, 2, 1, 1), std::out_of_range);
    EXPECT_THROW(DiffLines().appendView(Kind::context, 0, 0, 1, 1), std::out_of_range);
    EXPECT_THROW(lines.at(0), std::out_of_range);
}

}  // namespace
}  // namespace tarv::core
