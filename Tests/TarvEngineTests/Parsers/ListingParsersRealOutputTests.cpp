// The listing parsers against what git 2.x really prints for the commands
// they are made for.
#include <gtest/gtest.h>

#include "Support/TempGitRepo.hpp"
#include "TarvEngine/Parsers/RefParser.hpp"
#include "TarvEngine/Parsers/StashParser.hpp"
#include "TarvEngine/Parsers/TagParser.hpp"
#include "TarvEngine/Parsers/WorktreeParser.hpp"

namespace tarv::engine {
namespace {

using tarv::testing::TempGitRepo;

TEST(ListingParsersRealOutput, BranchesWithUpstreamsAndARemote) {
    TempGitRepo remote;
    remote.writeFile("f", "1\n");
    remote.commitAll("one");
    TempGitRepo repo(TempGitRepo::Start::emptyFolder);
    repo.git({"clone", "-q", remote.path(), repo.path()});
    repo.git({"checkout", "-q", "-b", "gone-upstream", "--track", "origin/main"});
    repo.git({"config", "branch.gone-upstream.merge", "refs/heads/deleted"});
    repo.git({"checkout", "-q", "main"});
    repo.writeFile("f", "2\n");
    repo.commitAll("ahead");

    auto branches = RefParser::parse(repo.git({"for-each-ref", "--sort=-committerdate",
                                               "--format=" + std::string(RefParser::format), "refs/heads",
                                               "refs/remotes"}));
    std::map<std::string, core::Branch> byName;
    for (const auto& branch : branches) byName[branch.name] = branch;
    EXPECT_EQ(byName.size(), 3u);  // origin/HEAD is skipped
    EXPECT_EQ(byName["main"].upstream, "origin/main");
    EXPECT_EQ(byName["main"].ahead, 1);
    EXPECT_TRUE(byName["main"].isCurrent);
    EXPECT_GT(byName["main"].lastCommitTimestamp, 0);
    EXPECT_TRUE(byName["origin/main"].isRemote);
    EXPECT_EQ(byName["gone-upstream"].ahead, 0);
    EXPECT_EQ(byName["gone-upstream"].behind, 0);
    EXPECT_FALSE(byName["gone-upstream"].isCurrent);
}

TEST(ListingParsersRealOutput, TagsStashesAndWorktrees) {
    TempGitRepo repo;
    repo.writeFile("f", "1\n");
    std::string first = repo.commitAll("first");
    repo.git({"tag", "light"});
    repo.git({"tag", "-a", "annotated", "-m", "note"});
    auto tags = TagParser::parse(repo.git({"for-each-ref", "--sort=-creatordate",
                                           "--format=%(refname:short)%00%(*objectname)%00%(objectname)", "refs/tags"}));
    ASSERT_EQ(tags.size(), 2u);
    for (const auto& tag : tags) EXPECT_EQ(tag.commit, first) << tag.name;

    repo.writeFile("f", "2\n");
    repo.git({"stash", "push", "-q", "-m", "tarv: fix typo"});
    repo.writeFile("f", "3\n");
    repo.git({"stash", "push", "-q"});
    auto stashes = StashParser::parse(repo.git({"stash", "list", "-z", "--format=" + std::string(StashParser::format)}));
    ASSERT_EQ(stashes.size(), 2u);
    EXPECT_EQ(stashes[0].reference, "stash@{0}");
    EXPECT_EQ(stashes[0].branch, "main");
    EXPECT_EQ(stashes[0].message.substr(0, 7), first.substr(0, 7));
    EXPECT_EQ(stashes[0].commit, repo.revParse("stash@{0}"));
    EXPECT_EQ(stashes[1], (core::StashEntry{"stash@{1}", "fix typo", "main", stashes[1].timestamp,
                                            repo.revParse("stash@{1}")}));
    EXPECT_GT(stashes[1].timestamp, 0);

    std::string linked = repo.root() + "/linked";
    std::string detached = repo.root() + "/detached";
    repo.git({"worktree", "add", "-q", "-b", "feature", linked});
    repo.git({"worktree", "add", "-q", "--detach", detached});
    auto worktrees = WorktreeParser::parse(repo.git({"worktree", "list", "--porcelain"}));
    // git lists the linked worktrees by path.
    EXPECT_EQ(worktrees, (std::vector<core::Worktree>{{repo.path(), "main", first, true},
                                                      {detached, std::nullopt, first, false},
                                                      {linked, "feature", first, false}}));
}

}  // namespace
}  // namespace tarv::engine
