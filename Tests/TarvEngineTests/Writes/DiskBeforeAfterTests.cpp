// What is on disk before and after each operation that can lose work, in one
// table: the working tree's files, and what the operation promises about the
// history and the recovery points.
#include <gtest/gtest.h>

#include "TarvEngineTests/Writes/WriteTestSupport.hpp"

namespace tarv::engine {
namespace {

using core::ChangeKind;
using core::FileChange;
using core::HistoryEdit;
using core::OperationResult;
using Files = std::map<std::string, std::string>;
using tarv::testing::TempGitRepo;
using testing::disk;

struct Runner : testing::RealRepository {
    // History edits keep their script folder inside the test's folder.
    testing::FilesWithTemporaryFolder scriptFiles{repo.makeFolder("tmp")};
    void TestBody() override {}
};

struct Operation {
    const char* name;
    // Makes the repository's state before the operation.
    std::function<void(TempGitRepo&)> prepare;
    // Runs the operation; may check what it returned.
    std::function<void(Runner&)> run;
    // The working tree afterwards; none: exactly as before.
    std::optional<Files> after;
    // Further promises (history, refs, index).
    std::function<void(Runner&)> check = [](Runner&) {};
};

void twoCommits(TempGitRepo& repo) {
    repo.writeFile("a.txt", "a1\n");
    repo.commitAll("first");
    repo.writeFile("b.txt", "b1\n");
    repo.commitAll("second");
}

void conflictingBranches(TempGitRepo& repo) {
    repo.writeFile("c.txt", "base\n");
    repo.writeFile("keep.txt", "keep\n");
    repo.commitAll("base");
    repo.git({"switch", "-q", "-c", "other"});
    repo.writeFile("c.txt", "theirs\n");
    repo.writeFile("t.txt", "from other\n");
    repo.commitAll("theirs");
    repo.git({"switch", "-q", "main"});
    repo.writeFile("c.txt", "ours\n");
    repo.commitAll("ours");
}

std::string subjects(testing::RealRepository& f) { return f.repo.git({"log", "--reverse", "--format=%s"}); }

TEST(DiskBeforeAndAfter, OperationsThatCanLoseWork) {
    // Changes of every kind, for commit and discard.
    auto dirty = [](TempGitRepo& repo) {
        repo.writeFile("m.txt", "m1\nm2\n");
        repo.writeFile("d.txt", "d\n");
        repo.writeFile("keep.txt", "keep\n");
        repo.writeFile("old.txt", "renamed\n");
        repo.commitAll("base");
        repo.writeFile("m.txt", "m1 edited\nm2\nm3\n");
        repo.removeFile("d.txt");
        repo.git({"mv", "old.txt", "new.txt"});
        repo.writeFile("u.txt", "untracked\n");
        repo.writeFile("x.bin", std::string("\x00\xff\xfe", 3));
    };
    const std::vector<FileChange> dirtyChanges{{"m.txt", std::nullopt, ChangeKind::modified},
                                               {"d.txt", std::nullopt, ChangeKind::deleted},
                                               {"new.txt", "old.txt", ChangeKind::renamed},
                                               {"u.txt", std::nullopt, ChangeKind::untracked},
                                               {"x.bin", std::nullopt, ChangeKind::untracked}};

    const std::vector<Operation> operations{
        {"commit of whole files and one chosen line", dirty,
         [](auto& f) {
             const core::Diff diff = f.diffOf("m.txt");
             auto chosen = testing::linesWhere(diff, [](const core::DiffLine& l) { return l.text == "m3"; });
             f.writes.commit(f.repo.path(), f.message("Pick"),
                             core::CommitSelection{{"d.txt", "u.txt"}, {{"m.txt", false, diff, chosen}}}, false,
                             f.none);
         },
         std::nullopt,
         [](auto& f) {
             EXPECT_EQ(testing::blob(f.repo, "HEAD", "m.txt"), "m1\nm2\nm3\n");
             EXPECT_EQ(testing::blob(f.repo, "HEAD", "d.txt"), "<none>");
             EXPECT_EQ(testing::blob(f.repo, "HEAD", "u.txt"), "untracked\n");
             EXPECT_EQ(testing::blob(f.repo, "HEAD", "x.bin"), "<none>");
         }},
        {"discard after a snapshot", dirty,
         [&](auto& f) {
             f.snapshots.create(f.repo.path(), SnapshotCommands::pathsTouchedBy(dirtyChanges), 100, f.none);
             f.snapshots.discard(f.repo.path(), dirtyChanges, f.none);
         },
         Files{{"d.txt", "d\n"}, {"keep.txt", "keep\n"}, {"m.txt", "m1\nm2\n"}, {"old.txt", "renamed\n"}},
         [](auto& f) {
             EXPECT_EQ(f.repo.git({"status", "--porcelain"}), "");
         }},
        {"discard, then undo from the snapshot", dirty,
         [&](auto& f) {
             const std::vector<std::string> paths = SnapshotCommands::pathsTouchedBy(dirtyChanges);
             const std::string ref = f.snapshots.create(f.repo.path(), paths, 100, f.none);
             f.snapshots.discard(f.repo.path(), dirtyChanges, f.none);
             f.snapshots.restore(f.repo.path(), ref, paths, f.none);
         },
         std::nullopt},
        {"undo of the last commit", twoCommits,
         [](auto& f) { EXPECT_EQ(f.writes.undoLastCommit(f.repo.path(), [] {}, f.none).summary, "second"); }, std::nullopt,
         [](auto& f) {
             EXPECT_EQ(subjects(f), "first\n");
             EXPECT_EQ(f.repo.git({"status", "--porcelain"}), "?? b.txt\n");
         }},
        {"undo of a repository's first commit",
         [](TempGitRepo& repo) {
             repo.writeFile("a.txt", "a\n");
             repo.writeFile("dir/b.txt", "b\n");
             repo.commitAll("only");
         },
         [](auto& f) { f.writes.undoLastCommit(f.repo.path(), [] {}, f.none); }, std::nullopt,
         [](auto& f) {
             EXPECT_EQ(f.repo.run({"rev-parse", "--verify", "-q", "HEAD"}).exitCode, 1);
             EXPECT_EQ(f.repo.git({"symbolic-ref", "HEAD"}), "refs/heads/main\n");
             EXPECT_EQ(testing::indexListing(f.repo), "");
             EXPECT_EQ(f.repo.git({"status", "--porcelain", "--untracked-files=all"}), "?? a.txt\n?? dir/b.txt\n");
         }},
        {"merge with conflicts", conflictingBranches,
         [](auto& f) {
             EXPECT_EQ(f.writes.merge(f.repo.path(), "other", f.none), core::MergeResult::conflicts({"c.txt"}));
         },
         Files{{"c.txt", "<<<<<<< HEAD\nours\n=======\ntheirs\n>>>>>>> other\n"},
               {"keep.txt", "keep\n"},
               {"t.txt", "from other\n"}}},
        {"rebase with conflicts, then abort", conflictingBranches,
         [](auto& f) {
             EXPECT_EQ(f.writes.rebase(f.repo.path(), "other", f.none), OperationResult::conflicts({"c.txt"}));
             f.writes.abortOperation(f.repo.path(), *f.files, [] {}, f.none);
         },
         std::nullopt,
         [](auto& f) {
             EXPECT_EQ(subjects(f), "base\nours\n");
             EXPECT_EQ(f.repo.revParse("refs/tarv/backups/pre-rebase"), f.repo.revParse("HEAD"));
         }},
        {"squash of a commit into its parent", twoCommits,
         [](auto& f) {
             f.repo.writeFile("c.txt", "c\n");
             f.repo.commitAll("third");
             EXPECT_EQ(
                 f.writes.editHistory(f.repo.path(), HistoryEdit::squashIntoParent("HEAD~1"), f.scriptFiles, f.none),
                 OperationResult::completed());
         },
         Files{{"a.txt", "a1\n"}, {"b.txt", "b1\n"}, {"c.txt", "c\n"}},
         [](auto& f) {
             EXPECT_EQ(subjects(f), "first\nthird\n");
             EXPECT_EQ(f.repo.git({"log", "-1", "--format=%B", "HEAD~1"}), "first\n\nsecond\n\n");
         }},
        {"move of a commit", twoCommits,
         [](auto& f) {
             EXPECT_EQ(f.writes.editHistory(f.repo.path(), HistoryEdit::moveDown("HEAD"), f.scriptFiles, f.none),
                       OperationResult::completed());
         },
         std::nullopt, [](auto& f) { EXPECT_EQ(subjects(f), "second\nfirst\n"); }},
        {"deletion of a branch, then its restore from the backup", twoCommits,
         [](auto& f) {
             f.repo.git({"branch", "topic", "HEAD~1"});
             f.writes.deleteBranch(f.repo.path(), "topic", true, f.none);
             EXPECT_EQ(f.repo.run({"rev-parse", "--verify", "-q", "refs/heads/topic"}).exitCode, 1);
             f.repo.git({"branch", "topic", "refs/tarv/backups/deleted/topic"});
         },
         std::nullopt, [](auto& f) { EXPECT_EQ(f.repo.revParse("refs/heads/topic"), f.repo.revParse("HEAD~1")); }},
    };

    for (const auto& operation : operations) {
        SCOPED_TRACE(operation.name);
        Runner f;
        operation.prepare(f.repo);
        const Files before = disk(f.repo);
        operation.run(f);
        EXPECT_EQ(disk(f.repo), operation.after.value_or(before));
        operation.check(f);
    }
}

}  // namespace
}  // namespace tarv::engine
