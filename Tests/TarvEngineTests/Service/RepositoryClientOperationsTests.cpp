// Merges, reverts, cherry-picks, resets, rebases and history edits through
// the live client on real git, with their conflicts and recovery points.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>

#include "Support/TempGitRepo.hpp"
#include "TarvEngineTests/Service/RepositoryClientFixture.hpp"

namespace tarv::engine {
namespace {

using testing::refusal;
using tarv::testing::TempGitRepo;
const std::stop_token none;

// main and feature both change f.txt after a common base (which also holds
// `alsoInBase`, when named, with its name as its text); main is checked out.
void diverge(TempGitRepo& repo, const std::string& alsoInBase = "") {
    repo.writeFile("f.txt", "base\n");
    if (!alsoInBase.empty()) repo.writeFile(alsoInBase, alsoInBase.substr(0, 1) + "\n");
    repo.commitAll("Base");
    repo.git({"switch", "-q", "-c", "feature"});
    repo.writeFile("f.txt", "feature\n");
    repo.commitAll("Feature change");
    repo.git({"switch", "-q", "main"});
    repo.writeFile("f.txt", "main\n");
    repo.commitAll("Main change");
}

// The recovery points the repository holds, by reference name.
std::set<std::string> snapshotRefs(TempGitRepo& repo) {
    std::set<std::string> refs;
    std::istringstream listed(repo.git({"for-each-ref", "--format=%(refname)", "refs/tarv/snapshots/"}));
    for (std::string line; std::getline(listed, line);) refs.insert(line);
    return refs;
}

struct RepositoryClientOperations : ::testing::Test {
    TempGitRepo repo;
    std::shared_ptr<GitRepositoryClientLive> client = testing::liveClient(repo);
    const std::string& path = repo.path();

    void divergingBranches() { diverge(repo); }
    std::optional<core::RepositoryOperation> operation() { return client->status(path, none).operation; }
    std::size_t conflicted() { return client->status(path, none).conflictedFiles().size(); }
};

TEST_F(RepositoryClientOperations, MergeReportsFastForwardMergedUpToDateAndConflicts) {
    repo.writeFile("a.txt", "a\n");
    repo.commitAll("Base");
    repo.git({"branch", "ahead"});
    repo.git({"switch", "-q", "ahead"});
    repo.writeFile("b.txt", "b\n");
    repo.commitAll("Ahead");
    repo.git({"switch", "-q", "main"});
    EXPECT_EQ(client->merge(path, "ahead", none), core::MergeResult::fastForward());
    EXPECT_EQ(client->merge(path, "ahead", none), core::MergeResult::upToDate());

    repo.git({"switch", "-q", "-c", "side", "HEAD~1"});
    repo.writeFile("c.txt", "c\n");
    repo.commitAll("Side");
    repo.git({"switch", "-q", "main"});
    EXPECT_EQ(client->merge(path, "side", none), core::MergeResult::merged());

    repo.git({"switch", "-q", "-c", "clash"});
    repo.writeFile("a.txt", "clash\n");
    repo.commitAll("Clash");
    repo.git({"switch", "-q", "main"});
    repo.writeFile("a.txt", "main\n");
    repo.commitAll("Main");
    EXPECT_EQ(client->merge(path, "clash", none), core::MergeResult::conflicts({"a.txt"}));
    EXPECT_EQ(operation(), core::RepositoryOperation::merge);

    client->abortOperation(path, none);
    EXPECT_EQ(operation(), std::nullopt);
    EXPECT_EQ(repo.readFile("a.txt"), "main\n");
    client->abortOperation(path, none);  // nothing in progress: nothing happens
}

TEST_F(RepositoryClientOperations, RevertAndCherryPickStopOnConflictsInsteadOfFailing) {
    divergingBranches();
    const std::string featureChange = repo.revParse("feature");
    EXPECT_EQ(client->cherryPick(path, featureChange, none), core::OperationResult::conflicts({"f.txt"}));
    EXPECT_EQ(operation(), core::RepositoryOperation::cherryPick);
    client->abortOperation(path, none);

    // Reverting the base conflicts with the main change on top of it.
    repo.writeFile("f.txt", "main again\n");
    repo.commitAll("Main again");
    EXPECT_EQ(client->revert(path, repo.revParse("HEAD~1"), none), core::OperationResult::conflicts({"f.txt"}));
    EXPECT_EQ(operation(), core::RepositoryOperation::revert);
    client->abortOperation(path, none);
    EXPECT_EQ(operation(), std::nullopt);

    // Without a clash both complete; an unknown commit is git's own failure.
    repo.writeFile("other.txt", "x\n");
    const std::string added = repo.commitAll("Add other");
    EXPECT_EQ(client->revert(path, added, none), core::OperationResult::completed());
    EXPECT_FALSE(repo.exists("other.txt"));
    EXPECT_EQ(client->cherryPick(path, added, none), core::OperationResult::completed());
    EXPECT_TRUE(repo.exists("other.txt"));
    EXPECT_THROW(client->revert(path, "0000000000000000000000000000000000000000", none), core::GitError);
}

TEST_F(RepositoryClientOperations, ResetKeepsTheOldHeadAsItsRecoveryPoint) {
    repo.writeFile("a.txt", "one\n");
    const std::string first = repo.commitAll("First");
    repo.writeFile("a.txt", "two\n");
    const std::string second = repo.commitAll("Second");

    client->reset(path, first, core::ResetMode::soft, none);
    EXPECT_EQ(repo.revParse("HEAD"), first);
    EXPECT_EQ(repo.revParse("refs/tarv/backups/pre-reset"), second);
    auto soft = client->status(path, none).files;
    ASSERT_EQ(soft.size(), 1u);
    EXPECT_TRUE(soft[0].hasStagedChanges);

    client->reset(path, second, core::ResetMode::mixed, none);
    EXPECT_EQ(repo.revParse("refs/tarv/backups/pre-reset"), first);
    client->reset(path, first, core::ResetMode::mixed, none);
    auto mixed = client->status(path, none).files;
    ASSERT_EQ(mixed.size(), 1u);
    EXPECT_FALSE(mixed[0].hasStagedChanges);
    EXPECT_TRUE(mixed[0].hasUnstagedChanges);
    EXPECT_EQ(repo.readFile("a.txt"), "two\n");
}

// "Mine" is always the user's side: the checked-out branch during a merge,
// the commit being replayed during a rebase (where git calls it "theirs").
TEST_F(RepositoryClientOperations, ResolvingMineOrTheirsDuringAMergeAndDuringARebase) {
    struct Case {
        bool rebase;
        core::ConflictResolution resolution;
        const char* expected;
    };
    const Case cases[] = {
        {false, core::ConflictResolution::mine, "main\n"},
        {false, core::ConflictResolution::theirs, "feature\n"},
        {true, core::ConflictResolution::mine, "feature\n"},
        {true, core::ConflictResolution::theirs, "main\n"},
    };
    divergingBranches();
    for (const auto& c : cases) {
        const std::string name = std::string(c.rebase ? "rebase " : "merge ") +
                                 (c.resolution == core::ConflictResolution::mine ? "mine" : "theirs");
        if (c.rebase) {
            repo.git({"switch", "-q", "feature"});
            EXPECT_EQ(client->rebase(path, "main", none), core::OperationResult::conflicts({"f.txt"})) << name;
            EXPECT_EQ(operation(), core::RepositoryOperation::rebase) << name;
        } else {
            EXPECT_EQ(client->merge(path, "feature", none), core::MergeResult::conflicts({"f.txt"})) << name;
        }
        client->resolve(path, "f.txt", c.resolution, none);
        EXPECT_EQ(repo.readFile("f.txt"), c.expected) << name;
        EXPECT_EQ(conflicted(), 0u) << name;
        client->abortOperation(path, none);
        repo.git({"switch", "-q", "main"});
    }
}

// Taking a side whole replaces the file; what the user had typed into it
// stays in a snapshot.
TEST_F(RepositoryClientOperations, TakingASideWholeKeepsTheFileAsItWasInASnapshot) {
    divergingBranches();
    for (const auto resolution : {core::ConflictResolution::mine, core::ConflictResolution::theirs}) {
        EXPECT_EQ(client->merge(path, "feature", none), core::MergeResult::conflicts({"f.txt"}));
        // A text of its own each round: the same text in the same second would
        // make the very same snapshot commit, and so no new reference.
        const std::string side = resolution == core::ConflictResolution::mine ? "mine" : "theirs";
        const std::string byHand = "half resolved by hand, then " + side + "\n";
        repo.writeFile("f.txt", byHand);
        const auto before = snapshotRefs(repo);

        client->resolve(path, "f.txt", resolution, none);
        std::vector<std::string> made;
        std::ranges::set_difference(snapshotRefs(repo), before, std::back_inserter(made));
        ASSERT_EQ(made.size(), 1u);
        EXPECT_EQ(repo.git({"show", made[0] + ":f.txt"}), byHand);
        EXPECT_EQ(repo.readFile("f.txt"), resolution == core::ConflictResolution::mine ? "main\n" : "feature\n");
        EXPECT_EQ(conflicted(), 0u);
        client->abortOperation(path, none);
    }
}

TEST_F(RepositoryClientOperations, ARebaseStoppedOnConflictsContinuesAfterResolving) {
    divergingBranches();
    repo.git({"switch", "-q", "feature"});
    const std::string before = repo.revParse("HEAD");
    EXPECT_EQ(refusal([&] { client->continueOperation(path, none); }), "No hay ninguna operación en curso");

    EXPECT_EQ(client->rebase(path, "main", none), core::OperationResult::conflicts({"f.txt"}));
    EXPECT_EQ(repo.revParse("refs/tarv/backups/pre-rebase"), before);
    repo.writeFile("f.txt", "both\n");
    client->markResolved(path, {"f.txt"}, none);
    EXPECT_EQ(client->continueOperation(path, none), core::OperationResult::completed());
    EXPECT_EQ(operation(), std::nullopt);
    EXPECT_EQ(repo.revParse("HEAD~1"), repo.revParse("main"));
    EXPECT_EQ(repo.readFile("f.txt"), "both\n");
}

TEST_F(RepositoryClientOperations, AMergeStoppedOnConflictsIsConcludedByContinue) {
    divergingBranches();
    EXPECT_EQ(client->merge(path, "feature", none), core::MergeResult::conflicts({"f.txt"}));
    client->resolve(path, "f.txt", core::ConflictResolution::theirs, none);
    EXPECT_EQ(client->continueOperation(path, none), core::OperationResult::completed());
    EXPECT_EQ(operation(), std::nullopt);
    EXPECT_EQ(client->history(path, 0, 1, none).at(0).parents.size(), 2u);
}

TEST_F(RepositoryClientOperations, HistoryEditsRewriteTheBranchBehindABackup) {
    repo.writeFile("a.txt", "1\n");
    repo.commitAll("One");
    repo.writeFile("b.txt", "2\n");
    repo.commitAll("Two");
    repo.writeFile("c.txt", "3\n");
    const std::string three = repo.commitAll("Three");

    EXPECT_EQ(client->editHistory(path, core::HistoryEdit::squashIntoParent(three), none),
              core::OperationResult::completed());
    EXPECT_EQ(repo.revParse("refs/tarv/backups/pre-rebase"), three);
    auto history = client->history(path, 0, 100, none);
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].summary, "Two");
    EXPECT_TRUE(repo.exists("c.txt"));
    EXPECT_EQ(refusal([&] { client->editHistory(path, core::HistoryEdit::moveUp(history[0].sha), none); }),
              "Ya es el commit más reciente");
}

TEST_F(RepositoryClientOperations, UndoLastCommitKeepsTheChangesAndReturnsTheMessage) {
    EXPECT_EQ(refusal([&] { client->undoLastCommit(path, none); }), "No hay commits que deshacer");
    repo.writeFile("a.txt", "one\n");
    repo.commitAll("First");
    repo.writeFile("a.txt", "two\n");
    repo.commitAll("Fix parser\n\nLonger text\n");

    EXPECT_EQ(client->undoLastCommit(path, none), (core::CommitMessage{"Fix parser", "Longer text", {}}));
    EXPECT_EQ(client->history(path, 0, 100, none).size(), 1u);
    EXPECT_EQ(repo.readFile("a.txt"), "two\n");

    // Undoing the only commit leaves the branch unborn and every file.
    EXPECT_EQ(client->undoLastCommit(path, none), (core::CommitMessage{"First", "", {}}));
    EXPECT_TRUE(client->history(path, 0, 100, none).empty());
    auto files = client->status(path, none).files;
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].kind, core::ChangeKind::untracked);
}

// Steps after which git's reset loses work the user has not committed: each
// first records a snapshot that holds it, in the working tree's version and
// in the staged one.
TEST_F(RepositoryClientOperations, StepsThatResetKeepTheUncommittedWorkFirst) {
    struct Case {
        const char* name;
        // Brings the repository to the moment of the step and makes the work.
        std::function<void(TempGitRepo&, GitRepositoryClientLive&)> setUp;
        std::function<void(TempGitRepo&, GitRepositoryClientLive&)> step;
        std::string path;
        std::string working;                // its content in the snapshot's tree
        std::optional<std::string> staged;  // and in its index commit
        std::string after;                  // the working file after the step ("" when gone)
    };
    const std::vector<Case> cases = {
        {"a continue that skips a rebase step left empty",
         [&](TempGitRepo& r, GitRepositoryClientLive& c) {
             diverge(r, "g.txt");
             r.git({"switch", "-q", "feature"});
             ASSERT_EQ(c.rebase(r.path(), "main", none), core::OperationResult::conflicts({"f.txt"}));
             // Keeping main's side makes the replayed commit empty.
             c.resolve(r.path(), "f.txt", core::ConflictResolution::theirs, none);
             r.writeFile("g.txt", "edited meanwhile\n");
         },
         [](TempGitRepo& r, GitRepositoryClientLive& c) {
             EXPECT_EQ(c.continueOperation(r.path(), none), core::OperationResult::completedSkippingEmpty());
         },
         "g.txt", "edited meanwhile\n", std::nullopt, "g\n"},
        {"an abort of a merge",
         [&](TempGitRepo& r, GitRepositoryClientLive& c) {
             diverge(r, "g.txt");
             ASSERT_EQ(c.merge(r.path(), "feature", none), core::MergeResult::conflicts({"f.txt"}));
             r.writeFile("n.txt", "new\n");
             r.git({"add", "n.txt"});
         },
         [](TempGitRepo& r, GitRepositoryClientLive& c) { c.abortOperation(r.path(), none); }, "n.txt", "new\n",
         "new\n", ""},
        {"an undo of the last commit",
         [](TempGitRepo& r, GitRepositoryClientLive&) {
             r.writeFile("a.txt", "one\n");
             r.commitAll("First");
             r.writeFile("a.txt", "two\n");
             r.commitAll("Second");
             r.writeFile("a.txt", "staged\n");
             r.git({"add", "a.txt"});
             r.writeFile("a.txt", "working\n");
         },
         [](TempGitRepo& r, GitRepositoryClientLive& c) { c.undoLastCommit(r.path(), none); }, "a.txt",
         "working\n", "staged\n", "working\n"},
    };
    // One case, in a function of its own so that a failed assertion ends
    // only that case.
    const auto check = [](const Case& c) {
        TempGitRepo r;
        auto live = testing::liveClient(r);
        c.setUp(r, *live);
        const auto before = snapshotRefs(r);
        c.step(r, *live);
        std::vector<std::string> made;
        std::ranges::set_difference(snapshotRefs(r), before, std::back_inserter(made));
        ASSERT_EQ(made.size(), 1u);
        EXPECT_EQ(r.git({"show", made[0] + ":" + c.path}), c.working);
        if (c.staged) {
            EXPECT_EQ(r.git({"show", made[0] + "^2:" + c.path}), *c.staged);
        }
        EXPECT_EQ(r.exists(c.path) ? r.readFile(c.path) : "", c.after);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        check(c);
    }
}

}  // namespace
}  // namespace tarv::engine
