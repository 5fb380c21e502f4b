#include <gtest/gtest.h>

#include "TarvEngine/Patch/GitPathQuoting.hpp"
#include "TarvEngine/Patch/PatchBuilder.hpp"

namespace tarv::engine {
namespace {

using core::Diff;
using core::DiffHunk;
using core::DiffLine;
using core::LineRef;
using Kind = core::DiffLine::Kind;

DiffLine line(Kind kind, std::string_view text) { return DiffLine{kind, text}; }

DiffHunk hunk(std::int64_t oldStart, std::int64_t oldCount, std::int64_t newStart, std::int64_t newCount,
              core::DiffLines lines) {
    return DiffHunk{"@@ ... @@ section", oldStart, oldCount, newStart, newCount, std::move(lines)};
}

// context, removed, added, context at old line 10.
const Diff replaceOne{
    false,
    {hunk(10, 3, 10, 3,
          {line(Kind::context, "a"), line(Kind::removed, "old"), line(Kind::added, "new"), line(Kind::context, "b")})}};

std::string body(const std::optional<std::string>& patch) {
    if (!patch) return "<none>";
    const std::size_t at = patch->find("@@");
    return at == std::string::npos ? *patch : patch->substr(at);
}

TEST(PatchBuilderTest, SelectedLinesBecomeHunks) {
    struct Case {
        const char* name;
        Diff diff;
        std::set<LineRef> selected;
        bool isNewFile;
        std::string expected;
    };
    const Diff twoHunks{
        false,
        {hunk(1, 1, 1, 4,
              {line(Kind::context, "top"), line(Kind::added, "x"), line(Kind::added, "y"), line(Kind::added, "z")}),
         hunk(20, 2, 23, 2, {line(Kind::removed, "gone"), line(Kind::added, "came"), line(Kind::context, "end")})}};
    const std::vector<Case> cases{
        {"nothing selected", replaceOne, {}, false, "<none>"},
        {"context only", replaceOne, {{0, 0}, {0, 3}}, false, "<none>"},
        {"removal kept, addition dropped", replaceOne, {{0, 1}}, false, "@@ -10,3 +10,2 @@\n a\n-old\n b\n"},
        {"addition kept, removal as context", replaceOne, {{0, 2}}, false, "@@ -10,3 +10,4 @@\n a\n old\n+new\n b\n"},
        {"new file, first two lines",
         Diff{false, {hunk(0, 0, 1, 3, {line(Kind::added, "1"), line(Kind::added, "2"), line(Kind::added, "3")})}},
         {{0, 0}, {0, 1}},
         true,
         "@@ -0,0 +1,2 @@\n+1\n+2\n"},
        {"one-line removal",
         Diff{false, {hunk(7, 1, 6, 0, {line(Kind::removed, "only")})}},
         {{0, 0}},
         false,
         "@@ -7 +7,0 @@\n-only\n"},
        {"second hunk shifted by the first",
         twoHunks,
         {{0, 1}, {0, 2}, {0, 3}, {1, 0}},
         false,
         "@@ -1 +1,4 @@\n top\n+x\n+y\n+z\n@@ -20,2 +23 @@\n-gone\n end\n"},
        {"left-out hunk shifts nothing", twoHunks, {{1, 0}, {1, 1}}, false, "@@ -20,2 +20,2 @@\n-gone\n+came\n end\n"},
        {"marker after a kept line",
         Diff{false,
              {hunk(3, 1, 3, 1,
                    {line(Kind::removed, "a"), line(Kind::noNewlineMarker, "No newline at end of file"),
                     line(Kind::added, "b"), line(Kind::noNewlineMarker, "No newline at end of file")})}},
         {{0, 0}},
         false,
         "@@ -3 +3,0 @@\n-a\n\\ No newline at end of file\n"},
        {"marker after a dropped addition",
         Diff{false,
              {hunk(3, 1, 3, 2,
                    {line(Kind::context, "a"), line(Kind::added, "b"), line(Kind::added, "c"),
                     line(Kind::noNewlineMarker, "No newline at end of file")})}},
         {{0, 1}},
         false,
         "@@ -3 +3,2 @@\n a\n+b\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(body(PatchBuilder::patch("f.txt", c.isNewFile, c.diff, c.selected)), c.expected) << c.name;
    }
}

TEST(PatchBuilderTest, FileHeadersAndModes) {
    EXPECT_EQ(PatchBuilder::patch("dir/f.txt", false, replaceOne, {{0, 1}}),
              "diff --git a/dir/f.txt b/dir/f.txt\n--- a/dir/f.txt\n+++ b/dir/f.txt\n"
              "@@ -10,3 +10,2 @@\n a\n-old\n b\n");
    const Diff added{false, {hunk(0, 0, 1, 1, {line(Kind::added, "#!/bin/sh")})}};
    EXPECT_EQ(PatchBuilder::patch("run.sh", true, added, {{0, 0}}),
              "diff --git a/run.sh b/run.sh\nnew file mode 100644\n--- /dev/null\n+++ b/run.sh\n"
              "@@ -0,0 +1 @@\n+#!/bin/sh\n");
    EXPECT_EQ(PatchBuilder::patch("run.sh", true, added, {{0, 0}}, PatchBuilder::executableMode),
              "diff --git a/run.sh b/run.sh\nnew file mode 100755\n--- /dev/null\n+++ b/run.sh\n"
              "@@ -0,0 +1 @@\n+#!/bin/sh\n");
}

// Line text goes into the patch byte for byte: a Latin-1 line, a carriage
// return, bytes that are not text at all.
TEST(PatchBuilderTest, LineBytesAreCopiedExactly) {
    const std::string latin1 = "na\xefve caf\xe9";
    const std::string crlf = "windows\r";
    const Diff diff{
        false,
        {hunk(1, 1, 1, 3,
              {line(Kind::context, std::string("\xff\xfe", 2)), line(Kind::added, latin1), line(Kind::added, crlf)})}};
    EXPECT_EQ(body(PatchBuilder::patch("f", false, diff, {{0, 1}, {0, 2}})),
              "@@ -1 +1,3 @@\n \xff\xfe\n+" + latin1 + "\n+" + crlf + "\n");
}

TEST(PatchBuilderTest, NamesAreQuotedAsGitQuotesThem) {
    struct Case {
        std::string path;
        std::string header;
    };
    const std::vector<Case> cases{
        {"plain.txt", "diff --git a/plain.txt b/plain.txt\n--- a/plain.txt\n+++ b/plain.txt\n"},
        {"sp ace", "diff --git a/sp ace b/sp ace\n--- a/sp ace\t\n+++ b/sp ace\t\n"},
        {"t\tab", "diff --git \"a/t\\tab\" \"b/t\\tab\"\n--- \"a/t\\tab\"\n+++ \"b/t\\tab\"\n"},
        {"new\nline", "diff --git \"a/new\\nline\" \"b/new\\nline\"\n--- \"a/new\\nline\"\n+++ \"b/new\\nline\"\n"},
        {"q\"uote", "diff --git \"a/q\\\"uote\" \"b/q\\\"uote\"\n--- \"a/q\\\"uote\"\n+++ \"b/q\\\"uote\"\n"},
        {"\"lead", "diff --git \"a/\\\"lead\" \"b/\\\"lead\"\n--- \"a/\\\"lead\"\n+++ \"b/\\\"lead\"\n"},
        {"back\\slash",
         "diff --git \"a/back\\\\slash\" \"b/back\\\\slash\"\n--- \"a/back\\\\slash\"\n+++ \"b/back\\\\slash\"\n"},
        {"bell\x07\x1b\x7f",
         "diff --git \"a/bell\\a\\033\\177\" \"b/bell\\a\\033\\177\"\n"
         "--- \"a/bell\\a\\033\\177\"\n+++ \"b/bell\\a\\033\\177\"\n"},
        {"caf\xe9 \xc3\xbc",
         "diff --git a/caf\xe9 \xc3\xbc b/caf\xe9 \xc3\xbc\n--- a/caf\xe9 \xc3\xbc\t\n"
         "+++ b/caf\xe9 \xc3\xbc\t\n"},
    };
    for (const auto& c : cases) {
        auto patch = PatchBuilder::patch(c.path, false, replaceOne, {{0, 1}});
        ASSERT_TRUE(patch);
        EXPECT_EQ(patch->substr(0, patch->find("@@")), c.header) << c.path;
    }
    const Diff added{false, {hunk(0, 0, 1, 1, {line(Kind::added, "x")})}};
    EXPECT_EQ(*PatchBuilder::patch("a b", true, added, {{0, 0}}),
              "diff --git a/a b b/a b\nnew file mode 100644\n--- /dev/null\n+++ b/a b\t\n@@ -0,0 +1 @@\n+x\n");
    EXPECT_FALSE(GitPathQuoting::needsQuotes("caf\xe9"));
    EXPECT_TRUE(GitPathQuoting::needsQuotes("a\\b"));
}

}  // namespace
}  // namespace tarv::engine
