#include <gtest/gtest.h>

#include <string>

#include "TarvEngine/Parsers/DiffParser.hpp"

namespace tarv::engine {
namespace {

using core::Diff;
using core::DiffHunk;
using core::DiffLine;
using Kind = core::DiffLine::Kind;

const std::string fileHeader =
    "diff --git a/x b/x\nindex 0123456..789abcd 100644\n--- a/x\n+++ b/x\n";

TEST(DiffParser, NothingButHeadersGivesNoHunks) {
    EXPECT_EQ(DiffParser::parse(""), Diff{});
    EXPECT_EQ(DiffParser::parse(fileHeader), Diff{});
    EXPECT_EQ(DiffParser::parseBytes(nullptr, 0), Diff{});
}

TEST(DiffParser, BinaryMarkersBeforeTheFirstHunk) {
    for (std::string line : {"Binary files a/x and b/x differ", "GIT binary patch"}) {
        Diff diff = DiffParser::parse(fileHeader + line + "\nliteral 0\n");
        EXPECT_TRUE(diff.isBinary) << line;
        EXPECT_TRUE(diff.hunks.empty()) << line;
    }
    // Shorter than the markers, or after a hunk has opened: no effect.
    EXPECT_FALSE(DiffParser::parse("Binary file\n").isBinary);
    EXPECT_FALSE(DiffParser::parse("@@ -1 +1 @@\n+a\nBinary files a/x and b/x differ\n").isBinary);
}

TEST(DiffParser, HunkHeaders) {
    struct Case {
        std::string header;
        std::int64_t oldStart, oldCount, newStart, newCount;
    };
    std::vector<Case> cases{
        {"@@ -5 +5,2 @@", 5, 1, 5, 2},
        {"@@ -0,0 +1,3 @@", 0, 0, 1, 3},
        {"@@ -1,2 +1,2 @@ func(int a)", 1, 2, 1, 2},
        {"@@  -3,x  +4, @@", 3, 1, 4, 1},
        {"@@@ -1,2,7 +1 @@@", 1, 2, 1, 1},
    };
    for (const auto& c : cases) {
        Diff diff = DiffParser::parse(c.header + "\n");
        ASSERT_EQ(diff.hunks.size(), 1u) << c.header;
        EXPECT_EQ(diff.hunks[0], (DiffHunk{c.header, c.oldStart, c.oldCount, c.newStart, c.newCount, {}})) << c.header;
    }
    for (std::string rejected : {"@@ -x,2 +1,2 @@", "@@ +1 -1 @@", "@@ -1", "@@", "@@ - +1 @@"}) {
        EXPECT_TRUE(DiffParser::parse(rejected + "\n").hunks.empty()) << rejected;
    }
}

TEST(DiffParser, NumbersLinesFromTheHunkStarts) {
    Diff diff = DiffParser::parse(fileHeader + "@@ -10,2 +10,2 @@\n-a\n+b\n c\n");
    ASSERT_EQ(diff.hunks.size(), 1u);
    EXPECT_EQ(diff.hunks[0].lines, (core::DiffLines{
                                       {Kind::removed, "a", 10, std::nullopt},
                                       {Kind::added, "b", std::nullopt, 10},
                                       {Kind::context, "c", 11, 11},
                                   }));
}

TEST(DiffParser, NewFileStartsAtLineOne) {
    Diff diff = DiffParser::parse("@@ -0,0 +1,2 @@\n+one\n+two\n");
    ASSERT_EQ(diff.hunks.size(), 1u);
    EXPECT_EQ(diff.hunks[0].lines[0], (DiffLine{Kind::added, "one", std::nullopt, 1}));
    EXPECT_EQ(diff.hunks[0].lines[1], (DiffLine{Kind::added, "two", std::nullopt, 2}));
}

TEST(DiffParser, SpecialLines) {
    Diff diff = DiffParser::parse(
        "@@ -1,3 +1,3 @@\r\n"
        "-crlf\r\n"
        "\n"
        "@@ -x this is no header\n"
        "other\n"
        "+last\n"
        "\\ No newline at end of file\n"
        "\\\n"
        " tail without line feed");
    ASSERT_EQ(diff.hunks.size(), 1u);
    EXPECT_EQ(diff.hunks[0].header, "@@ -1,3 +1,3 @@\r");
    EXPECT_EQ(diff.hunks[0].lines, (core::DiffLines{
                                       {Kind::removed, "crlf\r", 1, std::nullopt},
                                       {Kind::added, "last", std::nullopt, 1},
                                       {Kind::noNewlineMarker, "No newline at end of file", std::nullopt, std::nullopt},
                                       {Kind::noNewlineMarker, "", std::nullopt, std::nullopt},
                                       {Kind::context, "tail without line feed", 2, 2},
                                   }));
}

TEST(DiffParser, SecondHunkNumbersFromItsOwnStarts) {
    Diff diff = DiffParser::parse("@@ -1 +1 @@\n-a\n+b\n@@ -20,1 +30,1 @@\n x\n");
    ASSERT_EQ(diff.hunks.size(), 2u);
    EXPECT_EQ(diff.hunks[1].lines, (core::DiffLines{{Kind::context, "x", 20, 30}}));
}

TEST(DiffParser, LineTextIsKeptByteForByte) {
    // Latin-1 and stray continuation bytes must reach a patch unchanged.
    std::string text = "caf\xe9 \x80\xff";
    Diff diff = DiffParser::parse("@@ -1 +1 @@\n-" + text + "\n+" + text + "!\n");
    ASSERT_EQ(diff.hunks.size(), 1u);
    EXPECT_EQ(diff.hunks[0].lines[0].text, text);
    EXPECT_EQ(diff.hunks[0].lines[1].text, text + "!");
}

TEST(DiffParser, AbsurdStartsDoNotOverflow) {
    Diff diff = DiffParser::parse("@@ -9223372036854775807 +9223372036854775807 @@\n a\n b\n");
    ASSERT_EQ(diff.hunks.size(), 1u);
    EXPECT_EQ(diff.hunks[0].lines[1].oldNumber, INT64_MAX);
}

// git writes two file sections for one path whose type changed (a link
// replaced by a file): the second section's header ends the first hunk.
TEST(DiffParser, EachFileSectionEndsTheHunkBeforeIt) {
    Diff diff = DiffParser::parse(
        "@@ -1 +0,0 @@\n-target\n\\ No newline at end of file\n"
        "diff --git a/link b/link\nnew file mode 100644\n--- /dev/null\n+++ b/link\n"
        "@@ -0,0 +1 @@\n+text\n");
    ASSERT_EQ(diff.hunks.size(), 2u);
    EXPECT_EQ(diff.hunks[0].lines, (core::DiffLines{{Kind::removed, "target", 1, std::nullopt},
                                                          {Kind::noNewlineMarker, "No newline at end of file",
                                                           std::nullopt, std::nullopt}}));
    EXPECT_EQ(diff.hunks[1].lines, (core::DiffLines{{Kind::added, "text", std::nullopt, 1}}));

    // A section without hunks of its own adds nothing; its binary marker
    // still counts.
    Diff binary = DiffParser::parse("@@ -1 +1 @@\n+a\ndiff --git a/y b/y\n--- a/y\n+++ b/y\n"
                                    "Binary files a/y and b/y differ\n");
    ASSERT_EQ(binary.hunks.size(), 1u);
    EXPECT_EQ(binary.hunks[0].lines, (core::DiffLines{{Kind::added, "a", std::nullopt, 1}}));
    EXPECT_TRUE(binary.isBinary);
}

}  // namespace
}  // namespace tarv::engine
