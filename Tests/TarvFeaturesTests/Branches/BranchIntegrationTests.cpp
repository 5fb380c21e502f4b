// The branch flow on a real repository with a local bare remote: the live
// repository client running real git, the live executor and the main queue,
// pumped on this thread as the program's loop does. Every result is checked
// with git itself.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <utility>

#include "Support/LiveStore.hpp"

namespace tarv::features {
namespace {

// A workspace on a temporary repository (pushed to a bare remote) with the
// live client and file store; the other ports stay fakes.
struct LiveBranches : testing::LiveStore {
    std::string remote;

    void start() {
        remote = repo.makeFolder("remote.git");
        repo.git({"init", "--bare", "-b", "main", remote});
        repo.git({"remote", "add", "origin", remote});
        repo.git({"push", "-u", "origin", "main"});
        connect();
        AppState state;
        state.workspace.emplace(repo.path(), "repo", remote);
        open(std::move(state), liveRepository());
    }

    const WorkspaceState& workspace() const { return *store->state().workspace; }
    void send(WorkspaceAction action) { store->send(AppAction(std::move(action))); }

    // Sends `request` and pumps until an action of case `Outcome` arrives
    // and the reloads it started have ended.
    template <class Outcome>
    bool run(WorkspaceAction request) {
        const std::size_t before = count<Outcome>();
        send(std::move(request));
        return pumpUntil([&] { return count<Outcome>() > before && store->activeEffectCount() <= 1; });
    }

    std::string head() const { return repo.git({"symbolic-ref", "--short", "HEAD"}); }
    bool hasRef(const std::string& ref) const { return repo.run({"rev-parse", "-q", "--verify", ref}).exitCode == 0; }
};

TEST(BranchIntegrationTest, CreateSwitchMergeWithAConflictAbortAndDeleteWithABackup) {
    LiveBranches live;
    live.repo.writeFile("story.txt", "base\n");
    live.repo.commitAll("Base");
    live.start();

    // Create: git switches to the new branch.
    ASSERT_TRUE(live.run<WorkspaceAction::BranchOperationDone>(WorkspaceAction::CreateBranch{"topic", std::nullopt}));
    EXPECT_EQ(live.head(), "topic\n");
    ASSERT_TRUE(live.pumpUntil([&] { return live.workspace().status.branch.head == "topic"; }));
    const auto& branches = live.workspace().branches;
    EXPECT_NE(std::find_if(branches.begin(), branches.end(),
                           [](const core::Branch& b) { return b.name == "origin/main" && b.isRemote; }),
              branches.end())
        << "the remote's branch is listed after the reload";

    live.repo.writeFile("story.txt", "theirs\n");
    const std::string topicTip = live.repo.commitAll("Theirs");

    // Switch back and make a commit that conflicts with the branch.
    ASSERT_TRUE(live.run<WorkspaceAction::BranchOperationDone>(WorkspaceAction::SwitchBranch{"main"}));
    EXPECT_EQ(live.head(), "main\n");
    live.repo.writeFile("story.txt", "mine\n");
    const std::string mainTip = live.repo.commitAll("Mine");

    // Merge: conflicts are a result, with the message of how many.
    ASSERT_TRUE(live.run<WorkspaceAction::MergeFinished>(WorkspaceAction::Merge{"topic"}));
    EXPECT_TRUE(live.state().overlay ==
                Overlay::message(core::Text::mergeConflictsTitle(), core::Text::mergeConflictsBody(1)));
    EXPECT_TRUE(live.hasRef("MERGE_HEAD"));
    ASSERT_TRUE(live.pumpUntil([&] { return live.workspace().summary.text() == "Merge branch 'topic'"; }))
        << "git's prepared message fills the empty commit box";
    ASSERT_TRUE(live.pumpUntil([&] { return live.workspace().status.operation == core::RepositoryOperation::merge; }));

    // Abort: the merge is gone and the tree is as before.
    ASSERT_TRUE(live.run<WorkspaceAction::OperationAborted>(WorkspaceAction::AbortOperation{}));
    EXPECT_FALSE(live.hasRef("MERGE_HEAD"));
    EXPECT_EQ(live.repo.readFile("story.txt"), "mine\n");
    EXPECT_EQ(live.repo.revParse("HEAD"), mainTip);
    EXPECT_TRUE(live.workspace().summary.isEmpty());

    // Delete: git refuses the unmerged branch, the forced confirmation
    // follows, and the forced delete keeps a backup of the tip.
    ASSERT_TRUE(live.run<WorkspaceAction::DeleteNeedsForce>(WorkspaceAction::DeleteBranch{"topic", false}));
    EXPECT_TRUE(live.state().overlay == Overlay(DeleteBranchState{"topic", true}));
    EXPECT_TRUE(live.hasRef("refs/heads/topic"));
    ASSERT_TRUE(live.run<WorkspaceAction::BranchOperationDone>(WorkspaceAction::DeleteBranch{"topic", true}));
    EXPECT_FALSE(live.hasRef("refs/heads/topic"));
    EXPECT_EQ(live.repo.revParse("refs/tarv/backups/deleted/topic"), topicTip);
    EXPECT_EQ(live.repo.git({"ls-remote", "--heads", live.remote}).find("topic"), std::string::npos)
        << "the remote was not touched";
}

TEST(BranchIntegrationTest, TwoQuickSwitchesBothRunToTheirEndInTheOrderAsked) {
    LiveBranches live;
    live.repo.writeFile("story.txt", "base\n");
    live.repo.commitAll("Base");
    live.repo.git({"branch", "one"});
    live.repo.git({"branch", "two"});
    live.start();

    const std::size_t before = live.count<WorkspaceAction::BranchOperationDone>();
    live.send(WorkspaceAction::SwitchBranch{"one"});
    live.send(WorkspaceAction::SwitchBranch{"two"});  // replaces the first job while git runs
    ASSERT_TRUE(live.pumpUntil([&] {
        return live.count<WorkspaceAction::BranchOperationDone>() >= before + 2 || live.state().overlay.has_value();
    }));
    EXPECT_FALSE(live.state().overlay) << "neither switch failed";
    EXPECT_EQ(live.count<WorkspaceAction::BranchOperationFailed>(), 0u);
    EXPECT_EQ(live.head(), "two\n") << "the later request ran after the earlier one";
    EXPECT_EQ(live.repo.git({"status", "--porcelain"}), "") << "no checkout was left half-way";
}

}  // namespace
}  // namespace tarv::features
