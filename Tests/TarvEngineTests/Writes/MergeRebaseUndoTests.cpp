// Merge, rebase, the operation in progress and undoing the last commit on
// the real git.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "TarvEngineTests/Writes/WriteTestSupport.hpp"

namespace tarv::engine {
namespace {

using core::MergeResult;
using core::OperationResult;
using core::RepositoryOperation;
using testing::refusal;

struct OperationsTest : testing::RealRepository {
    std::string base;
    void SetUp() override {
        repo.writeFile("c.txt", "base\n");
        base = repo.commitAll("base");
    }
    // A branch "other" that changes c.txt one way while main changes it
    // another.
    void divergeOnOneFile() {
        repo.git({"switch", "-q", "-c", "other"});
        repo.writeFile("c.txt", "theirs\n");
        repo.commitAll("theirs");
        repo.git({"switch", "-q", "main"});
        repo.writeFile("c.txt", "ours\n");
        repo.commitAll("ours");
    }
    std::optional<RepositoryOperation> operation() { return reads.operation(repo.path(), *files, none); }
};

TEST_F(OperationsTest, MergeResults) {
    repo.git({"branch", "behind"});
    EXPECT_EQ(writes.merge(repo.path(), "behind", none), MergeResult::upToDate());

    repo.git({"switch", "-q", "-c", "ahead"});
    repo.writeFile("b.txt", "b\n");
    repo.commitAll("ahead");
    repo.git({"switch", "-q", "main"});
    EXPECT_EQ(writes.merge(repo.path(), "ahead", none), MergeResult::fastForward());

    repo.git({"switch", "-q", "-c", "side"});
    repo.writeFile("s.txt", "s\n");
    repo.commitAll("side");
    repo.git({"switch", "-q", "main"});
    repo.writeFile("m.txt", "m\n");
    repo.commitAll("main work");
    repo.git({"update-ref", "refs/remotes/origin/side", "refs/heads/side"});
    EXPECT_EQ(writes.merge(repo.path(), "origin/side", none), MergeResult::merged());
}

TEST_F(OperationsTest, MergeConflictsAndRefusals) {
    divergeOnOneFile();
    // Local changes git would overwrite: git's refusal (exit code 2).
    repo.writeFile("c.txt", "uncommitted\n");
    auto blocked = testing::commandFailure([&] { writes.merge(repo.path(), "other", none); });
    EXPECT_EQ(blocked.command, "git merge --no-edit other");
    EXPECT_NE(blocked.stderr.find("would be overwritten"), std::string::npos);
    repo.git({"checkout", "-q", "--", "c.txt"});

    EXPECT_EQ(writes.merge(repo.path(), "other", none), MergeResult::conflicts({"c.txt"}));
    EXPECT_EQ(operation(), RepositoryOperation::merge);

    // Resolved and continued: the merge commit is made with git's message.
    repo.writeFile("c.txt", "both\n");
    writes.markResolved(repo.path(), {"c.txt"}, none);
    EXPECT_EQ(writes.continueOperation(repo.path(), *files, [] {}, none), OperationResult::completed());
    EXPECT_EQ(operation(), std::nullopt);
    EXPECT_EQ(repo.git({"log", "-1", "--format=%s"}), "Merge branch 'other'\n");
    EXPECT_EQ(testing::blob(repo, "HEAD", "c.txt"), "both\n");
}

TEST_F(OperationsTest, RebaseStopsOnConflictsKeepsABackupAndAborts) {
    divergeOnOneFile();
    const std::string before = repo.revParse("HEAD");
    EXPECT_EQ(writes.rebase(repo.path(), "other", none), OperationResult::conflicts({"c.txt"}));
    EXPECT_EQ(repo.revParse("refs/tarv/backups/pre-rebase"), before);
    EXPECT_EQ(operation(), RepositoryOperation::rebase);

    // Continuing with the conflict unresolved is git's refusal.
    auto unresolved = testing::commandFailure([&] { writes.continueOperation(repo.path(), *files, [] {}, none); });
    EXPECT_EQ(unresolved.command, "git rebase --continue");
    EXPECT_NE(unresolved.stderr.find("needs merge"), std::string::npos);

    writes.abortOperation(repo.path(), *files, [] {}, none);
    EXPECT_EQ(operation(), std::nullopt);
    EXPECT_EQ(repo.revParse("HEAD"), before);
    EXPECT_EQ(repo.readFile("c.txt"), "ours\n");

    // Nothing in progress: continue refuses, abort does nothing.
    EXPECT_EQ(refusal([&] { writes.continueOperation(repo.path(), *files, [] {}, none); }),
              "No hay ninguna operación en curso");
    writes.abortOperation(repo.path(), *files, [] {}, none);
    EXPECT_EQ(refusal([&] { writes.rebase(repo.path(), "-i", none); }), "Revisión inválida: -i");
}

// A cherry-pick whose conflict is resolved by keeping the current side has
// nothing to commit: continue skips the step instead of failing.
TEST_F(OperationsTest, ContinueSkipsAStepThatWouldBeEmpty) {
    divergeOnOneFile();
    const std::string theirs = repo.revParse("other");
    EXPECT_EQ(writes.outcome({"cherry-pick", theirs}, repo.path(), {}, none), OperationResult::conflicts({"c.txt"}));
    EXPECT_EQ(operation(), RepositoryOperation::cherryPick);
    repo.git({"checkout", "-q", "--ours", "--", "c.txt"});
    writes.markResolved(repo.path(), {"c.txt"}, none);
    // git's skip resets the working tree and the index: what is not
    // committed is kept first, and the result says the step was skipped.
    int kept = 0;
    EXPECT_EQ(writes.continueOperation(repo.path(), *files, [&] { ++kept; }, none),
              OperationResult::completedSkippingEmpty());
    EXPECT_EQ(kept, 1);
    EXPECT_EQ(operation(), std::nullopt);
    EXPECT_EQ(repo.git({"log", "-1", "--format=%s"}), "ours\n");
}

TEST_F(OperationsTest, OutcomeReportsOtherFailuresWithGitsWholeOutput) {
    auto failure = testing::commandFailure([&] {
        writes.outcome({"cherry-pick", "nothing-here"}, repo.path(), {}, none);
    });
    EXPECT_EQ(failure.command, "git cherry-pick nothing-here");
    EXPECT_NE(failure.stderr.find("nothing-here"), std::string::npos);
}

// Resolving "a[1].txt" must not stage "a1.txt".
TEST_F(OperationsTest, MarkResolvedTakesPathsLiterally) {
    repo.writeFile("a[1].txt", "x\n");
    repo.writeFile("a1.txt", "x\n");
    repo.commitAll("files");
    repo.writeFile("a[1].txt", "y\n");
    repo.writeFile("a1.txt", "y\n");
    writes.markResolved(repo.path(), {"a[1].txt"}, none);
    writes.markResolved(repo.path(), {}, none);
    EXPECT_EQ(repo.git({"diff", "--cached", "--name-only"}), "a[1].txt\n");
}

TEST_F(OperationsTest, UndoLastCommit) {
    EXPECT_EQ(refusal([&] {
                  tarv::testing::TempGitRepo empty;
                  GitWriteCommands{testing::realExecutor(empty)}.undoLastCommit(empty.path(), [] {}, none);
              }),
              "No hay commits que deshacer");

    repo.writeFile("c.txt", "changed\n");
    repo.commitAll("Fix parser\n\nLonger text\n");
    EXPECT_EQ(writes.undoLastCommit(repo.path(), [] {}, none), (core::CommitMessage{"Fix parser", "Longer text"}));
    EXPECT_EQ(repo.revParse("HEAD"), base);
    EXPECT_EQ(repo.readFile("c.txt"), "changed\n");
    EXPECT_EQ(repo.git({"diff", "--cached", "--name-only"}), "");

    // A merge commit is not taken back: its first parent would bring the
    // merged work back as changes of its own.
    divergeOnOneFile();
    repo.run({"merge", "other"});
    repo.writeFile("c.txt", "both\n");
    repo.git({"add", "c.txt"});
    const std::string merge = repo.commit("Merge");
    bool kept = false;
    EXPECT_EQ(refusal([&] { writes.undoLastCommit(repo.path(), [&] { kept = true; }, none); }),
              "Es un commit de merge; no se puede deshacer desde aquí");
    EXPECT_FALSE(kept);
    EXPECT_EQ(repo.revParse("HEAD"), merge);
}

// A commit others may have (reachable from any remote-tracking ref, upstream
// or not) and a merge commit are never taken back; nothing changes.
TEST_F(OperationsTest, UndoRefusesPublishedAndMergeCommits) {
    struct Case {
        const char* name;
        std::function<void(tarv::testing::TempGitRepo&)> setUp;
        std::string refusal;
    };
    const std::string published = "Ese commit ya se subió; no se puede deshacer desde aquí";
    const std::vector<Case> cases = {
        {"on another branch's remote-tracking ref, without an upstream",
         [](auto& r) { r.git({"update-ref", "refs/remotes/origin/release", "HEAD"}); }, published},
        {"below a remote-tracking ref",
         [](auto& r) {
             r.git({"switch", "-q", "-c", "next"});
             r.writeFile("n.txt", "n\n");
             r.commitAll("next");
             r.git({"update-ref", "refs/remotes/upstream/next", "HEAD"});
             r.git({"switch", "-q", "main"});
         },
         published},
        {"a merge, on no remote",
         [](auto& r) {
             r.git({"switch", "-q", "-c", "side", "HEAD~1"});
             r.writeFile("s.txt", "s\n");
             r.commitAll("side");
             r.git({"switch", "-q", "main"});
             r.git({"merge", "-q", "--no-ff", "--no-edit", "side"});
         },
         "Es un commit de merge; no se puede deshacer desde aquí"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tarv::testing::TempGitRepo r;
        r.writeFile("a.txt", "1\n");
        r.commitAll("first");
        r.writeFile("a.txt", "2\n");
        r.commitAll("release");
        c.setUp(r);
        const std::string head = r.revParse("HEAD");
        bool kept = false;
        EXPECT_EQ(refusal([&] {
                      GitWriteCommands{testing::realExecutor(r)}.undoLastCommit(r.path(), [&] { kept = true; }, none);
                  }),
                  c.refusal);
        EXPECT_FALSE(kept);
        EXPECT_EQ(r.revParse("HEAD"), head);
        EXPECT_EQ(r.run({"rev-parse", "--verify", "-q", "refs/tarv/backups/undone"}).exitCode, 1);
    }
}

// Before the reset the uncommitted state is kept and the commit itself is
// kept under a backup ref, the branch's only commit too (its branch and
// reflog go with the undo).
TEST_F(OperationsTest, UndoKeepsTheCommitItTakesBack) {
    repo.git({"update-ref", "refs/remotes/origin/main", "HEAD"});  // only the base is published
    repo.writeFile("c.txt", "mine\n");
    const std::string mine = repo.commitAll("mine");
    std::string headWhenKept;
    writes.undoLastCommit(repo.path(), [&] { headWhenKept = repo.revParse("HEAD"); }, none);
    EXPECT_EQ(headWhenKept, mine);
    EXPECT_EQ(repo.revParse("HEAD"), base);
    EXPECT_EQ(repo.revParse("refs/tarv/backups/undone"), mine);

    tarv::testing::TempGitRepo only;
    only.writeFile("a.txt", "a\n");
    const std::string root = only.commitAll("only");
    GitWriteCommands{testing::realExecutor(only)}.undoLastCommit(only.path(), [] {}, none);
    EXPECT_EQ(only.run({"rev-parse", "--verify", "-q", "HEAD"}).exitCode, 1);
    EXPECT_EQ(only.revParse("refs/tarv/backups/undone"), root);
}

}  // namespace
}  // namespace tarv::engine
