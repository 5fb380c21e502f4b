#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "TarvEngineTests/Commands/RealGit.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvEngine/Parsers/DiffParser.hpp"

namespace tarv::engine {
namespace {

using core::ChangeKind;
using core::FileChange;
using core::RepositoryOperation;
using tarv::testing::TempGitRepo;
using testing::DiskFiles;

struct GitReadCommandsTest : ::testing::Test {
    TempGitRepo repo;
    GitReadCommands reads{testing::realExecutor(repo)};
    DiskFiles files;
    std::stop_token none;

    std::vector<std::string> paths(const core::WorkingTreeStatus& status) {
        std::vector<std::string> out;
        for (const auto& file : status.files) out.push_back(file.path);
        return out;
    }
};

const std::string latin1Name = "caf\xe9.txt";
const std::string newlineName = "new\nline.txt";
const std::string unicodeName = "\xc3\xbc" "n" "\xc3\xaf" "c" "\xc3\xb6" "d" "\xc3\xa9" ".txt";  // ünïcödé.txt

// A repository in the middle of a conflicted merge, with every other kind of
// change and awkward names on top.
TEST_F(GitReadCommandsTest, StatusOfAWorkingTreeWithEveryKindOfChange) {
    repo.writeFile("modified.txt", "one\n");
    repo.writeFile("staged.txt", "one\n");
    repo.writeFile("old name.txt", "moved content\nline two\nline three\n");
    repo.writeFile("deleted.txt", "gone\n");
    repo.writeFile("conflict.txt", "base\n");
    repo.commitAll("base");
    repo.git({"checkout", "-q", "-b", "other"});
    repo.writeFile("conflict.txt", "theirs\n");
    repo.commitAll("theirs");
    repo.git({"checkout", "-q", "main"});
    repo.writeFile("conflict.txt", "ours\n");
    std::string head = repo.commitAll("ours");
    EXPECT_NE(repo.run({"merge", "other"}).exitCode, 0);

    repo.writeFile("modified.txt", "two\n");
    repo.writeFile("staged.txt", "two\n");
    repo.git({"add", "staged.txt"});
    repo.git({"mv", "old name.txt", "new name.txt"});
    repo.removeFile("deleted.txt");
    repo.writeFile("space file.txt", "x\n");
    repo.writeFile(newlineName, "x\n");
    repo.writeFile("quote\"d.txt", "x\n");
    repo.writeFile(unicodeName, "x\n");
    repo.writeFile(latin1Name, "x\n");

    auto status = reads.status(repo.path(), files, none);
    EXPECT_EQ(status.branch, (core::BranchStatus{"main", head, std::nullopt, 0, 0}));
    EXPECT_EQ(status.operation, RepositoryOperation::merge);
    EXPECT_EQ(status.files, (std::vector<FileChange>{
                                {latin1Name, std::nullopt, ChangeKind::untracked, false, true},
                                {"conflict.txt", std::nullopt, ChangeKind::conflicted, false, true},
                                {"deleted.txt", std::nullopt, ChangeKind::deleted, false, true},
                                {"modified.txt", std::nullopt, ChangeKind::modified, false, true},
                                {newlineName, std::nullopt, ChangeKind::untracked, false, true},
                                {"new name.txt", "old name.txt", ChangeKind::renamed, true, false},
                                {"quote\"d.txt", std::nullopt, ChangeKind::untracked, false, true},
                                {"space file.txt", std::nullopt, ChangeKind::untracked, false, true},
                                {"staged.txt", std::nullopt, ChangeKind::modified, true, false},
                                {unicodeName, std::nullopt, ChangeKind::untracked,
                                 false, true},
                            }));

    // Each path read back from git names the right file: its diff works (a
    // rename without an edit has no hunks).
    for (const auto& change : status.files) {
        if (change.kind == ChangeKind::conflicted) continue;
        auto diff = reads.diff(repo.path(), change, none);
        EXPECT_EQ(diff.hunks.empty(), change.kind == ChangeKind::renamed) << change.path;
    }
    auto message = reads.pendingMergeMessage(repo.path(), files, none);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->rfind("Merge branch 'other'", 0), 0u) << *message;
    EXPECT_EQ(message->find('#'), std::string::npos);
}

TEST_F(GitReadCommandsTest, EmptyRepository) {
    auto status = reads.status(repo.path(), files, none);
    EXPECT_EQ(status, (core::WorkingTreeStatus{core::BranchStatus{"main", std::nullopt, std::nullopt, 0, 0}, {}, {}}));
    EXPECT_EQ(reads.headMessage(repo.path(), none), std::nullopt);
    EXPECT_TRUE(reads.history(repo.path(), 0, 50, none).empty());
    EXPECT_EQ(reads.pendingMergeMessage(repo.path(), files, none), std::nullopt);
    EXPECT_EQ(reads.operation(repo.path(), files, none), std::nullopt);
}

TEST_F(GitReadCommandsTest, DetachedHeadAndUpstream) {
    std::string first = repo.commitAll("first");
    repo.commitAll("second");
    repo.git({"checkout", "-q", "--detach", first});
    auto detached = reads.status(repo.path(), files, none);
    EXPECT_EQ(detached.branch, (core::BranchStatus{std::nullopt, first, std::nullopt, 0, 0}));

    repo.git({"checkout", "-q", "-b", "topic"});
    repo.git({"branch", "--set-upstream-to=main"});
    repo.commitAll("ahead");
    auto tracking = reads.status(repo.path(), files, none).branch;
    EXPECT_EQ(tracking.head, "topic");
    EXPECT_EQ(tracking.upstream, "main");
    EXPECT_EQ(tracking.ahead, 1);
    EXPECT_EQ(tracking.behind, 1);
}

TEST_F(GitReadCommandsTest, OperationsInProgress) {
    repo.writeFile("f.txt", "base\n");
    repo.commitAll("base");
    repo.git({"checkout", "-q", "-b", "topic"});
    repo.writeFile("f.txt", "topic\n");
    std::string topic = repo.commitAll("topic change");
    repo.git({"checkout", "-q", "main"});
    repo.writeFile("f.txt", "main\n");
    repo.commitAll("main change");

    EXPECT_NE(repo.run({"cherry-pick", topic}).exitCode, 0);
    EXPECT_EQ(reads.operation(repo.path(), files, none), RepositoryOperation::cherryPick);
    repo.git({"cherry-pick", "--abort"});

    // Reverting the first change conflicts with the second one.
    std::string base = repo.revParse("HEAD~1");
    EXPECT_NE(repo.run({"revert", "--no-edit", base}).exitCode, 0);
    EXPECT_EQ(reads.operation(repo.path(), files, none), RepositoryOperation::revert);
    repo.git({"revert", "--abort"});

    repo.git({"checkout", "-q", "topic"});
    EXPECT_NE(repo.run({"rebase", "main"}).exitCode, 0);
    auto status = reads.status(repo.path(), files, none);
    EXPECT_EQ(status.operation, RepositoryOperation::rebase);
    EXPECT_EQ(status.branch.head, std::nullopt);
    ASSERT_EQ(status.conflictedFiles().size(), 1u);
    EXPECT_EQ(status.conflictedFiles()[0].path, "f.txt");

    // git is held to the folder it is given: a subfolder is no repository
    // of its own, so it has no operation (the program reads from the root).
    repo.writeFile("sub/x.txt", "x\n");
    EXPECT_EQ(reads.operation(repo.path() + "/sub", files, none), std::nullopt);
}

TEST_F(GitReadCommandsTest, MergeWinsOverOtherMarkers) {
    repo.commitAll("first");
    std::string head = repo.revParse("HEAD");
    repo.writeFile(".git/REVERT_HEAD", head + "\n");
    EXPECT_EQ(reads.operation(repo.path(), files, none), RepositoryOperation::revert);
    repo.writeFile(".git/CHERRY_PICK_HEAD", head + "\n");
    EXPECT_EQ(reads.operation(repo.path(), files, none), RepositoryOperation::cherryPick);
    repo.writeFile(".git/MERGE_HEAD", head + "\n");
    EXPECT_EQ(reads.operation(repo.path(), files, none), RepositoryOperation::merge);
}

TEST_F(GitReadCommandsTest, RepositoryRoot) {
    repo.writeFile("deep/er/file.txt", "x\n");
    EXPECT_EQ(reads.repositoryRoot(repo.path() + "/deep/er", none), repo.path());
    EXPECT_EQ(reads.repositoryRoot(repo.root(), none), std::nullopt);
    EXPECT_EQ(reads.repositoryRoot(repo.root() + "/does/not/exist", none), std::nullopt);

    // A top-level folder whose name is not UTF-8 comes back byte for byte.
    TempGitRepo outer(TempGitRepo::Start::emptyFolder);
    std::string odd = outer.makeFolder("r\xe9po");
    outer.git({"init", "-q"}, odd);
    EXPECT_EQ(reads.repositoryRoot(odd, none), odd);
}

// git refuses a repository whose folder belongs to another user: that is no
// "not a repository", and git's own reason and advice reach the caller.
TEST_F(GitReadCommandsTest, ARepositoryOwnedByAnotherUserIsRefusedWithGitsReason) {
    if (geteuid() != 0) GTEST_SKIP() << "giving the folder to another user needs root";
    repo.writeFile("deep/file.txt", "x\n");
    ASSERT_EQ(::chown(repo.path().c_str(), 65534, 65534), 0);
    for (const std::string& from : {repo.path(), repo.path() + "/deep"}) {
        SCOPED_TRACE(from);
        try {
            reads.repositoryRoot(from, none);
            ADD_FAILURE() << "no refusal";
        } catch (const core::GitError& error) {
            const auto* failed = std::get_if<core::GitError::CommandFailed>(&error.value);
            ASSERT_NE(failed, nullptr) << error.description();
            EXPECT_NE(failed->stderr.find("dubious ownership"), std::string::npos) << failed->stderr;
            EXPECT_NE(failed->stderr.find("git config --global --add safe.directory " + repo.path()), std::string::npos)
                << failed->stderr;
        }
    }
}

TEST_F(GitReadCommandsTest, HeadMessageAndRemoteURL) {
    repo.writeFile("a", "a\n");
    repo.commitAll("  Summary line  \n\nBody one\n\nCo-authored-by: A <a@x>\n");
    EXPECT_EQ(reads.headMessage(repo.path(), none),
              (core::CommitMessage{"Summary line", "Body one\n\nCo-authored-by: A <a@x>", {}}));
    repo.commit("Single line");
    EXPECT_EQ(reads.headMessage(repo.path(), none), (core::CommitMessage{"Single line", "", {}}));

    EXPECT_EQ(reads.remoteURL(repo.path(), "origin", none), std::nullopt);
    repo.git({"remote", "add", "origin", "https://example.com/a/b.git"});
    EXPECT_EQ(reads.remoteURL(repo.path(), "origin", none), "https://example.com/a/b.git");
}

TEST_F(GitReadCommandsTest, PendingMergeMessageWithOnlyCommentsIsEmpty) {
    repo.commitAll("first");
    repo.writeFile(".git/MERGE_MSG", "# only\n# comments\n");
    EXPECT_EQ(reads.pendingMergeMessage(repo.path(), files, none), "");
}

TEST_F(GitReadCommandsTest, DiffOfUntrackedRenamedAndUnbornFiles) {
    // Before the first commit: a staged file's diff comes from the index.
    repo.writeFile("staged.txt", "a\nb\n");
    repo.git({"add", "staged.txt"});
    auto unborn = reads.diff(repo.path(), FileChange{"staged.txt", std::nullopt, ChangeKind::added, true, false}, none);
    ASSERT_EQ(unborn.hunks.size(), 1u);
    EXPECT_EQ(unborn.additions(), 2);
    repo.commitAll("first");

    // An untracked file whose name and content are not UTF-8: every line
    // added, the bytes unchanged.
    std::string latin1Line = "d\xe9j\xe0 vu";
    repo.writeFile(latin1Name, latin1Line + "\nsecond\n");
    auto untracked = reads.diff(repo.path(), FileChange{latin1Name, std::nullopt, ChangeKind::untracked}, none);
    ASSERT_EQ(untracked.hunks.size(), 1u);
    EXPECT_EQ(untracked.hunks[0].lines,
              (core::DiffLines{{core::DiffLine::Kind::added, latin1Line, std::nullopt, 1},
                              {core::DiffLine::Kind::added, "second", std::nullopt, 2}}));

    // A rename with an edit: both paths are named, so the diff is the edit.
    repo.writeFile("before.txt", "1\n2\n3\n4\n5\n6\n7\n8\n");
    repo.commitAll("add before");
    repo.git({"mv", "before.txt", "after.txt"});
    repo.writeFile("after.txt", "1\n2\n3\n4\n5\n6\n7\neight\n");
    auto renamed =
        reads.diff(repo.path(), FileChange{"after.txt", "before.txt", ChangeKind::renamed, true, true}, none);
    EXPECT_EQ(renamed.additions(), 1);
    EXPECT_EQ(renamed.deletions(), 1);
}

// Every working diff is the file against HEAD, whichever way it is read:
// against the index where the index holds HEAD's version, against HEAD
// where something is staged. Each change of the status gives the same diff
// as `git diff HEAD` for its path.
TEST_F(GitReadCommandsTest, EveryWorkingDiffIsTheFileAgainstHead) {
    repo.writeFile("modified.txt", "1\n2\n3\n");
    repo.writeFile("deleted.txt", "gone\n");
    repo.writeFile("mode.sh", "echo\n");
    repo.writeFile("staged then edited.txt", "a\nb\n");
    repo.writeFile("staged.txt", "x\n");
    repo.commitAll("base");
    repo.writeFile("modified.txt", "1\ntwo\n3\n");
    repo.removeFile("deleted.txt");
    std::filesystem::permissions(repo.path() + "/mode.sh", std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    repo.writeFile("staged then edited.txt", "a\nB\n");
    repo.git({"add", "staged then edited.txt"});
    repo.writeFile("staged then edited.txt", "a\nB\nc\n");
    repo.writeFile("staged.txt", "y\n");
    repo.git({"add", "staged.txt"});
    repo.writeFile("intent.txt", "new\n");
    repo.git({"add", "-N", "intent.txt"});

    const auto status = reads.status(repo.path(), files, none);
    ASSERT_EQ(status.files.size(), 6u);
    for (const auto& change : status.files) {
        SCOPED_TRACE(change.path);
        const auto againstHead = repo.git({"diff", "HEAD", "-M", "--no-color", "--no-ext-diff", "-U3", "--", change.path});
        EXPECT_FALSE(againstHead.empty());
        EXPECT_EQ(reads.diff(repo.path(), change, none), DiffParser::parseOutput(core::Bytes(againstHead.begin(), againstHead.end())));
    }
}

// Without literal pathspecs git reads "[1]" as a pattern: the diff of
// "a[1].txt" would also show "a1.txt".
TEST_F(GitReadCommandsTest, FileNamesAreNeverPatterns) {
    repo.writeFile("a[1].txt", "bracket\n");
    repo.writeFile("a1.txt", "plain\n");
    repo.writeFile("a*.txt", "star\n");
    repo.commitAll("files");
    repo.writeFile("a[1].txt", "bracket changed\n");
    repo.writeFile("a1.txt", "plain changed\n");
    repo.writeFile("a*.txt", "star changed\n");

    auto lines = [&](const std::string& path) {
        std::vector<std::string> texts;
        for (const auto& hunk : reads.diff(repo.path(), FileChange{path, std::nullopt, ChangeKind::modified}, none).hunks)
            for (const auto& line : hunk.lines) texts.emplace_back(line.text);
        return texts;
    };
    EXPECT_EQ(lines("a[1].txt"), (std::vector<std::string>{"bracket", "bracket changed"}));
    EXPECT_EQ(lines("a*.txt"), (std::vector<std::string>{"star", "star changed"}));
}

TEST_F(GitReadCommandsTest, HistoryPages) {
    std::vector<std::string> shas;
    for (int i = 1; i <= 5; ++i) {
        repo.writeFile("f.txt", std::to_string(i));
        shas.insert(shas.begin(), repo.commitAll("commit " + std::to_string(i) + "\x1f with separator"));
    }
    auto page = reads.history(repo.path(), 1, 2, none);
    ASSERT_EQ(page.size(), 2u);
    EXPECT_EQ(page[0].sha, shas[1]);
    EXPECT_EQ(page[0].parents, std::vector<std::string>{shas[2]});
    EXPECT_EQ(page[0].summary, "commit 4\x1f with separator");
    EXPECT_EQ(page[0].authorName, "Test User");
    EXPECT_EQ(page[0].authorEmail, "test@example.com");
    EXPECT_EQ(page[1].sha, shas[2]);
    EXPECT_TRUE(reads.history(repo.path(), 0, 10, none).back().parents.empty());
    EXPECT_TRUE(reads.history(repo.path(), 10, 10, none).empty());
}

TEST_F(GitReadCommandsTest, FilesOfACommit) {
    repo.writeFile("keep.txt", "k\n");
    repo.writeFile("old.txt", "same content for the rename\n");
    repo.writeFile("bin.dat", std::string("\0\1\2", 3));
    repo.commitAll("base");
    repo.git({"checkout", "-q", "-b", "side"});
    repo.writeFile("side.txt", "s\n");
    repo.commitAll("side");
    repo.git({"checkout", "-q", "main"});
    repo.git({"mv", "old.txt", "New.txt"});
    repo.writeFile("bin.dat", std::string("\0\3", 2));
    repo.writeFile("keep.txt", "k\nk2\n");
    std::string change = repo.commitAll("change");

    auto changed = reads.files(change, repo.path(), none);
    EXPECT_EQ(changed, (std::vector<core::CommitFile>{
                           {"bin.dat", ChangeKind::modified, std::nullopt, std::nullopt},
                           {"keep.txt", ChangeKind::modified, 1, 0},
                           {"New.txt", ChangeKind::added, 1, 0},
                           {"old.txt", ChangeKind::deleted, 0, 1},
                       }));

    // A merge commit lists what differs from its first parent.
    repo.git({"merge", "-q", "--no-ff", "--no-edit", "side"});
    auto merged = reads.files(repo.revParse("HEAD"), repo.path(), none);
    EXPECT_EQ(merged, (std::vector<core::CommitFile>{{"side.txt", ChangeKind::added, 1, 0}}));

    EXPECT_THROW(reads.files("0000000000000000000000000000000000000000", repo.path(), none), core::GitError);
}

// An object git cannot read is an error with git's message for every read
// that needs it, never an empty result or the whole file shown as added.
TEST_F(GitReadCommandsTest, AnUnreadableBlobFailsTheReadsThatNeedIt) {
    repo.writeFile("f.txt", "one\ntwo\n");
    const std::string head = repo.commitAll("base");
    repo.writeFile("f.txt", "one\nthree\n");
    const std::string blob = repo.revParse("HEAD:f.txt");
    const std::string object = repo.path() + "/.git/objects/" + blob.substr(0, 2) + "/" + blob.substr(2);
    std::filesystem::permissions(object, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    std::ofstream(object, std::ios::trunc) << "not a zlib stream";

    const auto expectGitFailure = [](const auto& read, const char* name) {
        SCOPED_TRACE(name);
        try {
            read();
            ADD_FAILURE() << "no error";
        } catch (const core::GitError& error) {
            const auto* failed = std::get_if<core::GitError::CommandFailed>(&error.value);
            ASSERT_NE(failed, nullptr);
            EXPECT_FALSE(failed->stderr.empty());
        }
    };
    expectGitFailure([&] { reads.diff(repo.path(), FileChange{"f.txt", std::nullopt, ChangeKind::modified}, none); },
                     "working diff");
    expectGitFailure([&] { reads.files(head, repo.path(), none); }, "files of the commit");
    expectGitFailure([&] { reads.diffOfCommit(head, "f.txt", repo.path(), none); }, "diff of the commit");
}

TEST_F(GitReadCommandsTest, StoppedBeforeStartingFailsAsCancelled) {
    std::stop_source source;
    source.request_stop();
    EXPECT_THROW(reads.status(repo.path(), files, source.get_token()), core::ProcessError);
}

}  // namespace
}  // namespace tarv::engine
