#include <gtest/gtest.h>

#include <string>

#include "TarvEngine/Parsers/RefParser.hpp"
#include "TarvEngine/Parsers/StashParser.hpp"
#include "TarvEngine/Parsers/TagParser.hpp"
#include "TarvEngine/Parsers/WorktreeParser.hpp"

namespace tarv::engine {
namespace {

std::string fields(std::initializer_list<std::string> parts, char separator = '\x1f') {
    std::string out;
    bool first = true;
    for (const auto& part : parts) {
        if (!first) out += separator;
        out += part;
        first = false;
    }
    return out;
}

TEST(ListingParsers, EmptyOutputGivesEmptyLists) {
    EXPECT_TRUE(RefParser::parse("").empty());
    EXPECT_TRUE(TagParser::parse("").empty());
    EXPECT_TRUE(StashParser::parse("").empty());
    EXPECT_TRUE(WorktreeParser::parse("").empty());
}

TEST(RefParser, ReadsBranches) {
    std::string output =
        fields({"refs/heads/main", "main", "origin/main", "[ahead 3, behind 5]", "1700000000", "*"}) + "\n" +
        fields({"refs/remotes/origin/HEAD", "origin", "", "", "1700000000", " "}) + "\n" +
        fields({"refs/remotes/origin/main", "origin/main", "", "", "", " "}) + "\n" +
        fields({"refs/heads/five", "five", "", "", "1"}) + "\n" +
        fields({"refs/heads/seven", "seven", "", "", "1", " ", "x"}) + "\n\n" +
        fields({"refs/heads/b", "b", "origin/b", "[behind 2]", "17x", ""}) + "\n" +
        fields({"refs/heads/g", "g", "origin/g", "[gone]", "-3", ""}) + "\n";
    auto branches = RefParser::parse(output);
    EXPECT_EQ(branches, (std::vector<core::Branch>{
                            {"main", false, true, "origin/main", 3, 5, 1700000000},
                            {"origin/main", true, false, std::nullopt, 0, 0, 0},
                            {"b", false, false, "origin/b", 0, 2, 0},
                            {"g", false, false, "origin/g", 0, 0, -3},
                        }));
}

TEST(RefParser, TrackingField) {
    struct Case {
        std::string track;
        std::int64_t ahead, behind;
    };
    std::vector<Case> cases{{"[ahead 3, behind 5]", 3, 5}, {"[ahead 2]", 2, 0}, {"[behind 2]", 0, 2},
                            {"[gone]", 0, 0},             {"", 0, 0},           {"[ahead]", 0, 0},
                            {"[ahead x, behind 1]", 0, 1}, {"ahead,,,7", 7, 0}};
    for (const auto& c : cases) {
        auto branches = RefParser::parse(fields({"refs/heads/x", "x", "", c.track, "0", ""}));
        ASSERT_EQ(branches.size(), 1u) << c.track;
        EXPECT_EQ(branches[0].ahead, c.ahead) << c.track;
        EXPECT_EQ(branches[0].behind, c.behind) << c.track;
    }
}

TEST(RefParser, FormatIsTheDocumentedOne) {
    EXPECT_EQ(RefParser::format,
              "%(refname)%1f%(refname:short)%1f%(upstream:short)%1f%(upstream:track)%1f%(committerdate:unix)%1f%(HEAD)");
}

TEST(TagParser, ReadsTags) {
    std::string output = fields({"v1", "", "light"}, '\0') + "\n" + fields({"v2", "peeled", "tagobject"}, '\0') +
                         "\n" + fields({"", "a", "b"}, '\0') + "\n" + fields({"v3", "", ""}, '\0') + "\n" +
                         fields({"v4", "a"}, '\0') + "\n" + fields({"v5", "a", "b", "c"}, '\0') + "\n";
    EXPECT_EQ(TagParser::parse(output), (std::vector<core::Tag>{{"v1", "light"}, {"v2", "peeled"}}));
}

TEST(StashParser, SubjectsPrefixesAndTimes) {
    std::string output;
    for (auto entry : {fields({"stash@{0}", "c0", "100", "On main: tarv: fix typo"}),
                       fields({"stash@{1}", "c1", "200", "WIP on feature: 1a2b3c4 Add parser"}),
                       fields({"stash@{2}", "c2", "300", "plain subject"}),
                       fields({"stash@{3}", "c3", "400", "On main no colon"}),
                       fields({"stash@{4}", "c4", "x", "On main: dropped"}),
                       fields({"stash@{5}", "c5", "", "dropped"}), fields({"stash@{6}", "c6", "600"}),
                       fields({"stash@{7}", "c7", "700", "On a\x1f" "b: c"}),
                       fields({"stash@{8}", "c8", "800", "tarv: own but no prefix"})}) {
        output += entry + '\0';
    }
    EXPECT_EQ(StashParser::parse(output), (std::vector<core::StashEntry>{
                                              {"stash@{0}", "fix typo", "main", 100, "c0"},
                                              {"stash@{1}", "1a2b3c4 Add parser", "feature", 200, "c1"},
                                              {"stash@{2}", "plain subject", std::nullopt, 300, "c2"},
                                              {"stash@{3}", "On main no colon", std::nullopt, 400, "c3"},
                                              {"stash@{7}", "c", "a\x1f" "b", 700, "c7"},
                                              {"stash@{8}", "own but no prefix", std::nullopt, 800, "c8"},
                                          }));
}

TEST(WorktreeParser, ReadsBlocks) {
    std::string output =
        "worktree /repo\nHEAD aaa\nbranch refs/heads/main\n\n"
        "worktree /repo-feature\nHEAD bbb\nbranch refs/heads/feature/x\nlocked reason\n\n"
        "worktree /detached\nHEAD ccc\ndetached\n\n"
        "HEAD ddd\nbranch refs/heads/no-path\n\n"
        "worktree /old\nworktree /twice\nHEAD eee\n";
    EXPECT_EQ(WorktreeParser::parse(output), (std::vector<core::Worktree>{
                                                 {"/repo", "main", "aaa", true},
                                                 {"/repo-feature", "feature/x", "bbb", false},
                                                 {"/detached", std::nullopt, "ccc", false},
                                                 {"/twice", std::nullopt, "eee", false},
                                             }));
}

TEST(WorktreeParser, BareMainIsSkippedAndNothingIsMain) {
    std::string output = "worktree /bare.git\nbare\n\nworktree /linked\nHEAD abc\nbranch refs/heads/x\n\n";
    EXPECT_EQ(WorktreeParser::parse(output), (std::vector<core::Worktree>{{"/linked", "x", "abc", false}}));
}

TEST(WorktreeParser, PathsKeepTheirBytes) {
    std::string path = "/tmp/caf\xe9 dir\r";
    auto worktrees = WorktreeParser::parse("worktree " + path + "\nHEAD abc\n");
    ASSERT_EQ(worktrees.size(), 1u);
    EXPECT_EQ(worktrees[0].path, path);
}

}  // namespace
}  // namespace tarv::engine
