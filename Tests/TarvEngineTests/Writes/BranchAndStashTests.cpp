// Branches, tags, stashes, worktrees and ignoring on the real git.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

#include "Support/FileSystemErrors.hpp"
#include "TarvEngineTests/Writes/WriteTestSupport.hpp"
#include "TarvSystemTests/FileSystem/ScratchFolder.hpp"

namespace tarv::engine {
namespace {

using core::ChangeKind;
using core::FileChange;
using testing::refusal;

struct BranchTest : testing::RealRepository {
    std::string base;
    void SetUp() override {
        repo.writeFile("a.txt", "a\n");
        base = repo.commitAll("base");
    }
    std::string currentBranch() { return repo.git({"symbolic-ref", "--short", "HEAD"}); }
};

TEST_F(BranchTest, SwitchToLocalRemoteTrackingAndMissingBranches) {
    repo.git({"branch", "local"});
    writes.switchBranch(repo.path(), "local", none);
    EXPECT_EQ(currentBranch(), "local\n");

    repo.git({"remote", "add", "origin", repo.root() + "/remote.git"});
    repo.git({"update-ref", "refs/remotes/origin/feature", "HEAD"});
    writes.switchBranch(repo.path(), "origin/feature", none);
    EXPECT_EQ(currentBranch(), "feature\n");
    EXPECT_EQ(repo.git({"config", "branch.feature.merge"}), "refs/heads/feature\n");

    auto failure = testing::commandFailure([&] { writes.switchBranch(repo.path(), "nowhere", none); });
    EXPECT_EQ(failure.command, "git switch nowhere");
    EXPECT_EQ(currentBranch(), "feature\n");
}

TEST_F(BranchTest, DeletionKeepsTheTipAndCanBeUndone) {
    repo.git({"switch", "-q", "-c", "topic"});
    repo.writeFile("t.txt", "t\n");
    const std::string tip = repo.commitAll("topic work");
    repo.git({"switch", "-q", "main"});

    EXPECT_EQ(refusal([&] { writes.deleteBranch(repo.path(), "main", false, none); }),
              "No se puede eliminar la rama en la que estás");
    EXPECT_EQ(refusal([&] { writes.deleteBranch(repo.path(), "absent", false, none); }), "La rama absent no existe");

    // Not merged: git refuses "-d", nothing is backed up.
    auto unmerged = testing::commandFailure([&] { writes.deleteBranch(repo.path(), "topic", false, none); });
    EXPECT_EQ(unmerged.command, "git branch -d topic");
    EXPECT_EQ(repo.revParse("refs/heads/topic"), tip);
    EXPECT_EQ(repo.run({"rev-parse", "--verify", "-q", "refs/tarv/backups/deleted/topic"}).exitCode, 1);

    writes.deleteBranch(repo.path(), "topic", true, none);
    EXPECT_EQ(repo.run({"rev-parse", "--verify", "-q", "refs/heads/topic"}).exitCode, 1);
    EXPECT_EQ(repo.revParse("refs/tarv/backups/deleted/topic"), tip);
}

// "feature" cannot be backed up beside the backup of "feature/x" (a ref
// cannot be both a file and a folder): the branch must survive, with its
// settings, and the failure be reported.
TEST_F(BranchTest, ABranchWhoseBackupCannotBeWrittenIsNotLost) {
    repo.git({"branch", "feature/x"});
    writes.deleteBranch(repo.path(), "feature/x", true, none);
    repo.git({"branch", "feature"});
    repo.setConfig("branch.feature.description", "keep me");

    auto failure = testing::commandFailure([&] { writes.deleteBranch(repo.path(), "feature", true, none); });
    EXPECT_NE(failure.stderr.find("refs/tarv/backups/deleted/feature"), std::string::npos) << failure.stderr;
    EXPECT_EQ(repo.revParse("refs/heads/feature"), base);
    EXPECT_EQ(repo.git({"config", "branch.feature.description"}), "keep me\n");
    EXPECT_EQ(repo.revParse("refs/tarv/backups/deleted/feature/x"), base);
}

TEST_F(BranchTest, TagDeletionKeepsThePeeledCommit) {
    repo.git({"tag", "-a", "-m", "release", "v1"});
    repo.git({"tag", "light"});
    EXPECT_NE(repo.revParse("refs/tags/v1"), base);
    writes.deleteTag(repo.path(), "v1", none);
    writes.deleteTag(repo.path(), "light", none);
    EXPECT_EQ(repo.revParse("refs/tarv/backups/tags/v1"), base);
    EXPECT_EQ(repo.revParse("refs/tarv/backups/tags/light"), base);
    EXPECT_EQ(repo.git({"tag", "--list"}), "");
    EXPECT_EQ(refusal([&] { writes.deleteTag(repo.path(), "v1", none); }), "La etiqueta v1 no existe");
}

TEST_F(BranchTest, StashesSaveEverythingAndComeBack) {
    EXPECT_EQ(refusal([&] { writes.stash(repo.path(), "wip", none); }), "No hay cambios que guardar");

    repo.writeFile("a.txt", "changed\n");
    repo.writeFile("new.txt", "untracked\n");
    writes.stash(repo.path(), "wip", none);
    EXPECT_EQ(repo.git({"stash", "list", "--format=%gs"}), "On main: tarv: wip\n");
    EXPECT_EQ(testing::disk(repo), (std::map<std::string, std::string>{{"a.txt", "a\n"}}));

    writes.restoreStash(repo.path(), repo.revParse("stash@{0}"), none);
    EXPECT_EQ(testing::disk(repo),
              (std::map<std::string, std::string>{{"a.txt", "changed\n"}, {"new.txt", "untracked\n"}}));
    EXPECT_EQ(repo.git({"stash", "list"}), "");

    // A pop that conflicts keeps the stash.
    writes.stash(repo.path(), "again", none);
    repo.writeFile("a.txt", "other\n");
    repo.commitAll("other");
    const std::string again = repo.revParse("stash@{0}");
    EXPECT_EQ(testing::commandFailure([&] { writes.restoreStash(repo.path(), again, none); }).command,
              "git stash pop stash@{0}");
    EXPECT_EQ(repo.git({"stash", "list", "--format=%gs"}), "On main: tarv: again\n");
    repo.git({"reset", "-q", "--hard"});
    writes.dropStash(repo.path(), again, none);
    EXPECT_EQ(repo.git({"stash", "list"}), "");
}

// A dropped stash stays reachable: the latest drop under the backup name,
// each earlier one moved to the first free numbered name, and the backup
// brings the stash's untracked file back.
TEST_F(BranchTest, DroppingAStashKeepsABackup) {
    const std::string backup(GitWriteCommands::droppedStashBackup);
    std::vector<std::string> dropped;
    for (const char* content : {"first\n", "second\n", "third\n"}) {
        repo.writeFile("a.txt", content);
        repo.writeFile("new.txt", content);
        writes.stash(repo.path(), content, none);
        dropped.push_back(repo.revParse("stash@{0}"));
        writes.dropStash(repo.path(), dropped.back(), none);
    }
    EXPECT_EQ(repo.git({"stash", "list"}), "");
    EXPECT_EQ(repo.revParse(backup), dropped[2]);
    EXPECT_EQ(repo.revParse(backup + "-1"), dropped[0]);
    EXPECT_EQ(repo.revParse(backup + "-2"), dropped[1]);

    repo.git({"stash", "apply", "-q", backup + "-1"});
    EXPECT_EQ(testing::disk(repo),
              (std::map<std::string, std::string>{{"a.txt", "first\n"}, {"new.txt", "first\n"}}));

    // A stash that is no longer listed is refused, backing up nothing.
    EXPECT_EQ(refusal([&] { writes.dropStash(repo.path(), dropped[0], none); }),
              "Ese stash ya no está en la lista: no se ha tocado nada");
    EXPECT_EQ(repo.run({"rev-parse", "--verify", "-q", backup + "-3"}).exitCode, 1);
}

// The picker listed the stashes, then another terminal made one: every row
// still acts on its own stash, found where it is now; one dropped meanwhile
// is refused and nothing is written.
TEST_F(BranchTest, AStashIsFoundByItsCommitWhereverItMovedSinceTheListing) {
    for (const char* content : {"oldest\n", "middle\n"}) {
        repo.writeFile("a.txt", content);
        writes.stash(repo.path(), content, none);
    }
    const std::string middle = repo.revParse("stash@{0}");
    const std::string oldest = repo.revParse("stash@{1}");
    repo.writeFile("a.txt", "made elsewhere\n");
    repo.git({"stash", "push", "-q", "-m", "elsewhere"});
    const std::string elsewhere = repo.revParse("stash@{0}");
    const auto listed = [&] { return repo.git({"stash", "list", "--format=%H"}); };

    writes.dropStash(repo.path(), middle, none);
    EXPECT_EQ(listed(), elsewhere + "\n" + oldest + "\n");
    EXPECT_EQ(repo.revParse(std::string(GitWriteCommands::droppedStashBackup)), middle);

    writes.restoreStash(repo.path(), oldest, none);
    EXPECT_EQ(listed(), elsewhere + "\n");
    EXPECT_EQ(repo.readFile("a.txt"), "oldest\n");

    for (const auto& gone : {middle, oldest, std::string()}) {
        EXPECT_EQ(refusal([&] { writes.dropStash(repo.path(), gone, none); }),
                  "Ese stash ya no está en la lista: no se ha tocado nada");
        EXPECT_EQ(refusal([&] { writes.restoreStash(repo.path(), gone, none); }),
                  "Ese stash ya no está en la lista: no se ha tocado nada");
    }
    EXPECT_EQ(listed(), elsewhere + "\n");
    EXPECT_EQ(repo.readFile("a.txt"), "oldest\n");
}

TEST_F(BranchTest, WorktreesForNewAndExistingBranches) {
    repo.git({"branch", "existing"});
    const std::string one = repo.root() + "/wt one";
    const std::string two = repo.root() + "/-wt two";
    writes.addWorktree(repo.path(), one, "existing", none);
    writes.addWorktree(repo.path(), two, "fresh", none);
    EXPECT_EQ(repo.git({"symbolic-ref", "--short", "HEAD"}, one), "existing\n");
    EXPECT_EQ(repo.git({"symbolic-ref", "--short", "HEAD"}, two), "fresh\n");
    EXPECT_EQ(repo.revParse("refs/heads/fresh"), base);

    repo.writeFile("../wt one/a.txt", "dirty\n");
    EXPECT_EQ(testing::commandFailure([&] { writes.removeWorktree(repo.path(), one, none); }).command,
              "git worktree remove -- " + one);
    writes.removeWorktree(repo.path(), two, none);
    EXPECT_FALSE(std::filesystem::exists(two));
}

// The .gitignore is edited as bytes: a Latin-1 line and a CR LF line stay
// exactly, the rule is added once, the tracked file stops being tracked and
// its working file stays.
TEST_F(BranchTest, IgnoringEditsTheIgnoreFileAsBytes) {
    const std::string before = "# caf\xe9\r\n*.tmp";
    repo.writeFile(".gitignore", before);
    ::chmod((repo.path() + "/.gitignore").c_str(), 0640);
    repo.writeFile("a[1].txt", "tracked\n");
    repo.writeFile("a1.txt", "tracked too\n");
    repo.commitAll("more");
    repo.writeFile("a[1].txt", "modified\n");

    const FileChange tracked{"a[1].txt", std::nullopt, ChangeKind::modified};
    writes.ignore(repo.path(), tracked, *files, none);
    const std::string after = before + "\n/a\\[1].txt\n";
    EXPECT_EQ(repo.readFile(".gitignore"), after);
    EXPECT_EQ(repo.git({"ls-files", "--", "a1.txt", "a[1].txt"}), "a1.txt\n");
    EXPECT_EQ(repo.readFile("a[1].txt"), "modified\n");
    struct stat info {};
    ::stat((repo.path() + "/.gitignore").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    // Twice: the file stays as it is, the untrack call still runs (and finds
    // nothing to do).
    writes.ignore(repo.path(), tracked, *files, none);
    EXPECT_EQ(repo.readFile(".gitignore"), after);

    // An untracked file only gets its rule; a repository without .gitignore
    // gets one.
    repo.removeFile(".gitignore");
    repo.writeFile("new file ", "x\n");
    writes.ignore(repo.path(), {"new file ", std::nullopt, ChangeKind::untracked}, *files, none);
    EXPECT_EQ(repo.readFile(".gitignore"), "/new file\\ \n");
    EXPECT_EQ(repo.git({"status", "--porcelain", "--", "new file "}), "");
}

// A .gitignore that is a symbolic link (committed so, pointing at a file
// outside the repository) is never read or written through, as git itself
// refuses to: nothing is written, the target is not copied in, the link and
// the index stay as they were.
TEST_F(BranchTest, IgnoringRefusesAnIgnoreFileThatIsASymbolicLink) {
    const std::string secret = repo.makeFolder("outside") + "/secret";
    std::ofstream(secret) << "password=hunter2\n";
    ASSERT_EQ(::symlink(secret.c_str(), (repo.path() + "/.gitignore").c_str()), 0);
    repo.writeFile("build.log", "tracked\n");
    repo.commitAll("a linked ignore file");
    const std::string index = testing::indexListing(repo);

    for (const ChangeKind kind : {ChangeKind::untracked, ChangeKind::modified}) {
        const FileChange file{"build.log", std::nullopt, kind};
        EXPECT_EQ(tarv::testing::errorNumberOf([&] { writes.ignore(repo.path(), file, *files, none); }), ELOOP);
        EXPECT_EQ(std::filesystem::read_symlink(repo.path() + "/.gitignore"), secret);
        EXPECT_EQ(tarv::testing::ScratchFolder::read(secret), "password=hunter2\n");
        EXPECT_EQ(testing::indexListing(repo), index) << "nothing untracked";
    }
}

}  // namespace
}  // namespace tarv::engine
