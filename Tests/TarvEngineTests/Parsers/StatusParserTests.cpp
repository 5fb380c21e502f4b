#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TarvEngine/Parsers/StatusParser.hpp"

namespace tarv::engine {
namespace {

using core::ChangeKind;
using core::FileChange;
using namespace std::string_literals;

std::string records(std::initializer_list<std::string> parts) {
    std::string out;
    for (const auto& part : parts) {
        out += part;
        out += '\0';
    }
    return out;
}

std::string ordinary(const std::string& xy, const std::string& path) {
    return "1 " + xy + " N... 100644 100644 100644 0123abc 4567def " + path;
}

TEST(StatusParser, EmptyOutputGivesNothing) {
    auto status = StatusParser::parse("");
    EXPECT_EQ(status, core::WorkingTreeStatus{});
}

TEST(StatusParser, BranchHeaders) {
    struct Case {
        std::string name;
        std::vector<std::string> headers;
        core::BranchStatus expected;
    };
    std::vector<Case> cases{
        {"with upstream",
         {"# branch.oid abc123", "# branch.head main", "# branch.upstream origin/main", "# branch.ab +3 -1"},
         {"main", "abc123", "origin/main", 3, 1}},
        {"no commit yet", {"# branch.oid (initial)", "# branch.head main"}, {"main", std::nullopt, std::nullopt, 0, 0}},
        {"detached", {"# branch.oid abc", "# branch.head (detached)"}, {std::nullopt, "abc", std::nullopt, 0, 0}},
        {"unreadable counts", {"# branch.ab +x -99999999999999999999"}, {}},
        {"extra blanks and pieces", {"# branch.ab  +2  -5 z"}, {std::nullopt, std::nullopt, std::nullopt, 2, 5}},
        {"key without value", {"# branch.head"}, {}},
        {"unknown key", {"# branch.other x"}, {}},
        {"empty value kept", {"# branch.upstream "}, {std::nullopt, std::nullopt, "", 0, 0}},
    };
    for (const auto& c : cases) {
        std::string output;
        for (const auto& h : c.headers) output += h + '\0';
        EXPECT_EQ(StatusParser::parse(output).branch, c.expected) << c.name;
    }
}

TEST(StatusParser, KindsAndFlagsFromXY) {
    struct Case {
        std::string xy;
        ChangeKind kind;
        bool staged;
        bool unstaged;
    };
    std::vector<Case> cases{
        {".M", ChangeKind::modified, false, true},   {"M.", ChangeKind::modified, true, false},
        {"MM", ChangeKind::modified, true, true},    {"MD", ChangeKind::deleted, true, true},
        {"MT", ChangeKind::typeChanged, true, true}, {"A.", ChangeKind::added, true, false},
        {"AM", ChangeKind::added, true, true},       {"AD", ChangeKind::added, true, true},
        {".A", ChangeKind::added, false, true},      {"D.", ChangeKind::deleted, true, false},
        {".D", ChangeKind::deleted, false, true},    {"T.", ChangeKind::typeChanged, true, false},
        {".T", ChangeKind::typeChanged, false, true}, {"C.", ChangeKind::copied, true, false},
        {"CM", ChangeKind::copied, true, true},      {"X.", ChangeKind::modified, true, false},
        {"", ChangeKind::modified, false, false},    {"D", ChangeKind::deleted, true, false},
    };
    for (const auto& c : cases) {
        auto status = StatusParser::parse(records({ordinary(c.xy, "f")}));
        ASSERT_EQ(status.files.size(), 1u) << c.xy;
        EXPECT_EQ(status.files[0], (FileChange{"f", std::nullopt, c.kind, c.staged, c.unstaged})) << c.xy;
    }
}

TEST(StatusParser, PathsKeepBlanksNewlinesAndBytes) {
    std::string latin1 = "caf\xe9 menu.txt";
    auto status = StatusParser::parse(records({ordinary(".M", " two  blanks "), ordinary("M.", "line\nbreak"),
                                               "? " + latin1, "u UU N... 1 1 1 1 a b c con flict"}));
    std::vector<std::string> paths;
    for (const auto& file : status.files) paths.push_back(file.path);
    EXPECT_EQ(paths, (std::vector<std::string>{" two  blanks ", latin1, "con flict", "line\nbreak"}));
}

TEST(StatusParser, PathsStartingWithACombiningMarkAreKept) {
    // Read as characters, the blank before such a path would merge with the
    // mark into one character and the record would no longer split.
    std::string accent = "\xcc\x81" "accent";
    auto status = StatusParser::parse(records({ordinary(".M", accent), "? " + accent + "2"}));
    std::vector<std::string> paths;
    for (const auto& file : status.files) paths.push_back(file.path);
    EXPECT_EQ(paths, (std::vector<std::string>{accent, accent + "2"}));
}

TEST(StatusParser, RenameTakesTheNextRecordAsOriginal) {
    auto status = StatusParser::parse(records({"2 R. N... 100644 100644 100644 a b R100 new name", "old name",
                                               "2 RM N... 100644 100644 100644 a b R50 z-last"}));
    ASSERT_EQ(status.files.size(), 2u);
    EXPECT_EQ(status.files[0], (FileChange{"new name", "old name", ChangeKind::renamed, true, false}));
    // A rename record at the very end has no original path.
    EXPECT_EQ(status.files[1], (FileChange{"z-last", std::nullopt, ChangeKind::renamed, true, true}));
}

TEST(StatusParser, ShortRenameRecordIsSkippedAndTheNextOneRead) {
    auto status = StatusParser::parse(records({"2 R. N... 100644", "? after"}));
    ASSERT_EQ(status.files.size(), 1u);
    EXPECT_EQ(status.files[0].path, "after");
}

TEST(StatusParser, UnmergedIsConflictedWhateverTheLetters) {
    for (std::string xy : {"UU", "AA", "DU", "UD"}) {
        auto status = StatusParser::parse(records({"u " + xy + " N... 1 2 3 4 a b c path"}));
        ASSERT_EQ(status.files.size(), 1u);
        EXPECT_EQ(status.files[0], (FileChange{"path", std::nullopt, ChangeKind::conflicted, false, true}));
    }
}

TEST(StatusParser, MalformedAndIgnoredRecordsAreSkipped) {
    auto status = StatusParser::parse(
        records({"1 .M N... 100644", "u UU short", "! ignored", "garbage", "?", "? ", "1", ordinary(".M", "kept")}));
    std::vector<std::string> paths;
    for (const auto& file : status.files) paths.push_back(file.path);
    // "? " with nothing after it is a path of its own: empty.
    EXPECT_EQ(paths, (std::vector<std::string>{"", "kept"}));
}

TEST(StatusParser, SortsByLowerCaseThenCase) {
    auto status = StatusParser::parse(records({"? b.txt", "? a.txt", "? A.txt", "? Z", "? \xc3\x89t\xc3\xa9", "? e"}));
    std::vector<std::string> paths;
    for (const auto& file : status.files) paths.push_back(file.path);
    EXPECT_EQ(paths, (std::vector<std::string>{"A.txt", "a.txt", "b.txt", "e", "Z", "\xc3\x89t\xc3\xa9"}));
}

TEST(StatusParser, CanonicallyEquivalentPathsKeepTheirOrder) {
    std::string composed = "\xc3\xa9";     // é
    std::string decomposed = "e\xcc\x81";  // e + combining acute
    auto status = StatusParser::parse(records({"? " + decomposed, "? " + composed}));
    ASSERT_EQ(status.files.size(), 2u);
    EXPECT_EQ(status.files[0].path, decomposed);
    EXPECT_EQ(status.files[1].path, composed);
}

}  // namespace
}  // namespace tarv::engine
