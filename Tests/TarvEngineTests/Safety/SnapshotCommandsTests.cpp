// Safety snapshots and discard on the real git.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

#include "TarvCore/Errors/ProcessError.hpp"

#include "TarvEngineTests/Writes/WriteTestSupport.hpp"

namespace tarv::engine {
namespace {

using core::ChangeKind;
using core::FileChange;
using testing::blob;
using testing::disk;
using testing::refusal;

struct SnapshotTest : testing::RealRepository {
    bool refExists(const std::string& ref) { return repo.run({"rev-parse", "--verify", "-q", ref}).exitCode == 0; }
    std::vector<std::string> gitFolder() { return files->contentsOfDirectory(repo.path() + "/.git"); }
    bool temporaryIndexLeft() {
        for (const auto& name : gitFolder()) {
            if (name.starts_with("tarv-snapshot-index-")) return true;
        }
        return false;
    }
};

// The snapshot holds each path as the working tree has it (ignored files
// included, removed files as removed) on top of HEAD; the user's index,
// branch and working tree do not change.
TEST_F(SnapshotTest, RecordsTheWorkingTreeWithoutTouchingAnythingElse) {
    repo.writeFile(".gitignore", "*.log\n");
    repo.writeFile("kept.txt", "kept\n");
    repo.writeFile("modified.txt", "old\n");
    repo.writeFile("deleted.txt", "deleted\n");
    repo.writeFile("staged.txt", "old\n");
    const std::string head = repo.commitAll("base");
    repo.writeFile("modified.txt", "new\n");
    repo.removeFile("deleted.txt");
    repo.writeFile("untracked.txt", "u\n");
    repo.writeFile("debug.log", "ignored\n");
    repo.writeFile("staged.txt", "staged\n");
    repo.git({"add", "staged.txt"});
    repo.writeFile("staged.txt", "staged and edited\n");
    repo.writeFile("a[1].txt", "literal\n");
    repo.writeFile("a1.txt", "not asked for\n");
    const auto diskBefore = disk(repo);
    const auto indexBefore = testing::indexListing(repo);

    const std::string ref = snapshots.create(
        repo.path(),
        {"modified.txt", "deleted.txt", "untracked.txt", "debug.log", "staged.txt", "a[1].txt", "gone.txt"}, 1700000123,
        none);

    EXPECT_TRUE(ref.starts_with("refs/tarv/snapshots/1700000123-"));
    EXPECT_EQ(ref.size(), std::string("refs/tarv/snapshots/1700000123-").size() + 7);
    EXPECT_EQ(repo.revParse(ref + "^"), head);
    EXPECT_EQ(repo.git({"log", "-1", "--format=%an <%ae> %cn|%s", ref}), "Tarv <tarv@localhost> Tarv|tarv snapshot\n");
    EXPECT_EQ(testing::treePaths(repo, ref),
              (std::vector<std::string>{".gitignore", "a[1].txt", "debug.log", "kept.txt", "modified.txt", "staged.txt",
                                        "untracked.txt"}));
    EXPECT_EQ(blob(repo, ref, "modified.txt"), "new\n");
    EXPECT_EQ(blob(repo, ref, "staged.txt"), "staged and edited\n");
    EXPECT_EQ(blob(repo, ref, "debug.log"), "ignored\n");
    EXPECT_EQ(disk(repo), diskBefore);
    EXPECT_EQ(testing::indexListing(repo), indexBefore);
    EXPECT_EQ(repo.revParse("HEAD"), head);
    EXPECT_FALSE(temporaryIndexLeft());
}

// Before the first commit the snapshot's only parent is the commit of the
// index's versions, which has none.
TEST_F(SnapshotTest, BeforeTheFirstCommitThereIsNoHeadParent) {
    repo.writeFile("a.txt", "a\n");
    repo.git({"add", "a.txt"});
    repo.writeFile("a.txt", "a edited\n");
    const std::string ref = snapshots.create(repo.path(), {"a.txt"}, 5, none);
    EXPECT_EQ(repo.git({"rev-list", "--parents", "-n1", ref}).size(), 82u);
    EXPECT_EQ(repo.git({"rev-list", "--parents", "-n1", ref + "^"}).size(), 41u);
    EXPECT_EQ(repo.git({"log", "-1", "--format=%s", ref + "^"}), "tarv snapshot index\n");
    EXPECT_EQ(blob(repo, ref, "a.txt"), "a edited\n");
    EXPECT_EQ(blob(repo, ref + "^", "a.txt"), "a\n");
}

// A path git cannot save fails the snapshot; nothing is left behind, and so
// the discard that would have followed never runs.
TEST_F(SnapshotTest, APathThatCannotBeSavedFailsTheSnapshot) {
    repo.writeFile("real/file.txt", "x\n");
    repo.commitAll("base");
    std::filesystem::create_directory_symlink("real", repo.path() + "/link");
    repo.writeFile("new.txt", "new\n");
    const auto failure = testing::commandFailure([&] {
        snapshots.create(repo.path(), {"new.txt", "link/file.txt"}, 9, none);
    });
    EXPECT_NE(failure.stderr.find("beyond a symbolic link"), std::string::npos) << failure.stderr;
    EXPECT_EQ(repo.git({"for-each-ref", "refs/tarv/"}), "");
    EXPECT_FALSE(temporaryIndexLeft());
}

// A snapshot whose git is stopped half-way (its time limit killed it,
// leaving git's lock beside the temporary index) leaves nothing behind.
TEST_F(SnapshotTest, AStoppedSnapshotLeavesNoTemporaryIndexOrLock) {
    repo.writeFile("a.txt", "a\n");
    repo.commitAll("base");
    repo.writeFile("a.txt", "edited\n");
    auto recorder = std::make_shared<tarv::testing::GitScriptedRunner>();
    GitExecutor executor = testing::recordingExecutor(repo, recorder);
    recorder->setScript([runner = testing::realExecutor(repo).runner](const core::ProcessSpec& spec,
                                                                       std::stop_token stop) {
        if (spec.environment.contains("GIT_INDEX_FILE") &&
            std::find(spec.arguments.begin(), spec.arguments.end(), "write-tree") != spec.arguments.end()) {
            std::ofstream(spec.environment.at("GIT_INDEX_FILE") + ".lock").put('\0');
            throw core::ProcessError::timedOut();
        }
        return runner->run(spec, stop);
    });
    EXPECT_THROW((SnapshotCommands{executor, files}.create(repo.path(), {"a.txt"}, 3, none)), core::ProcessError);
    EXPECT_FALSE(temporaryIndexLeft()) << ::testing::PrintToString(gitFolder());
}

// Two programs discarding in one repository in the same second, with as
// many paths: each builds its snapshot in a temporary index of its own.
TEST_F(SnapshotTest, TwoProcessesBuildInTemporaryIndexesOfTheirOwn) {
    repo.writeFile("a.txt", "a\n");
    repo.commitAll("base");
    repo.writeFile("a.txt", "edited\n");
    const auto indexUsed = [&] {
        auto recorder = std::make_shared<tarv::testing::GitScriptedRunner>();
        SnapshotCommands{testing::recordingExecutor(repo, recorder), files}.create(repo.path(), {"a.txt"}, 7, none);
        return testing::runsOf(*recorder, {"write-tree"}).at(0).environment.at("GIT_INDEX_FILE");
    };
    const std::string answer = repo.home() + "/child-index";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        try {
            std::ofstream(answer) << indexUsed();
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    std::ifstream input(answer);
    const std::string childIndex((std::istreambuf_iterator<char>(input)), std::istreambuf_iterator<char>());
    const std::string ownIndex = indexUsed();
    EXPECT_TRUE(childIndex.starts_with(repo.path() + "/.git/tarv-snapshot-index-")) << childIndex;
    EXPECT_NE(childIndex, ownIndex);
}

// Many paths: the snapshot saves them with one hash-object reading them
// from its input (no pathspecs, no command line that grows with them), the
// discard unlinks the untracked files without any git, and the undo brings
// them back from one cat-file of the snapshot's blobs.
TEST_F(SnapshotTest, ManyPaths) {
    auto recorder = std::make_shared<tarv::testing::GitScriptedRunner>();
    SnapshotCommands recorded{testing::recordingExecutor(repo, recorder), files};
    std::vector<std::string> paths;
    std::vector<FileChange> changes;
    for (int i = 0; i < 401; ++i) {
        paths.push_back("f" + std::to_string(i));
        changes.push_back({paths.back(), std::nullopt, ChangeKind::untracked});
        repo.writeFile(paths.back(), "x\n");
    }
    const std::string ref = recorded.create(repo.path(), paths, 1, none);
    const auto stored = testing::runsOf(*recorder, {"hash-object"});
    ASSERT_EQ(stored.size(), 1u);
    std::size_t listed = 0;
    for (const auto& path : paths) listed += path.size() + 1;
    EXPECT_EQ(stored[0].stdin->size(), listed);
    const auto updates = testing::runsOf(*recorder, {"update-index", "-z", "--index-info"});
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_TRUE(updates[0].environment.at("GIT_INDEX_FILE").starts_with(repo.path() + "/.git/tarv-snapshot-index-1-401-"))
        << updates[0].environment.at("GIT_INDEX_FILE");
    EXPECT_EQ(testing::treePaths(repo, ref).size(), 401u);

    const std::size_t runsBefore = recorder->specs().size();
    recorded.discard(repo.path(), changes, none);
    EXPECT_EQ(recorder->specs().size(), runsBefore);
    EXPECT_EQ(disk(repo), (std::map<std::string, std::string>{}));

    recorded.restore(repo.path(), ref, paths, none);
    EXPECT_EQ(testing::runsOf(*recorder, {"cat-file", "--batch"}).size(), 1u);
    EXPECT_EQ(disk(repo).size(), 401u);
}

// Each kind of change is undone with its own command; a rename comes back
// under its old name, a copy's source is left alone, and "a[1].txt" is not
// a pattern.
TEST_F(SnapshotTest, DiscardByKind) {
    repo.writeFile("modified.txt", "old\n");
    repo.writeFile("deleted.txt", "deleted\n");
    repo.writeFile("old name.txt", "renamed content\nline\nline\n");
    repo.writeFile("source.txt", "copied content\nline\nline\n");
    repo.writeFile("a[1].txt", "one\n");
    repo.writeFile("a1.txt", "one\n");
    repo.writeFile("type.txt", "file\n");
    repo.commitAll("base");
    repo.writeFile("modified.txt", "new\n");
    repo.removeFile("deleted.txt");
    repo.git({"mv", "old name.txt", "new name.txt"});
    repo.writeFile("copy.txt", "copied content\nline\nline\n");
    repo.git({"add", "copy.txt"});
    repo.writeFile("added.txt", "added\n");
    repo.git({"add", "added.txt"});
    repo.writeFile("untracked.txt", "u\n");
    repo.writeFile("a[1].txt", "two\n");
    repo.writeFile("a1.txt", "two\n");
    repo.removeFile("type.txt");
    std::filesystem::create_symlink("modified.txt", repo.path() + "/type.txt");

    const std::vector<FileChange> changes{
        {"modified.txt", std::nullopt, ChangeKind::modified},  {"deleted.txt", std::nullopt, ChangeKind::deleted},
        {"new name.txt", "old name.txt", ChangeKind::renamed}, {"copy.txt", "source.txt", ChangeKind::copied},
        {"added.txt", std::nullopt, ChangeKind::added},        {"untracked.txt", std::nullopt, ChangeKind::untracked},
        {"a[1].txt", std::nullopt, ChangeKind::modified},      {"type.txt", std::nullopt, ChangeKind::typeChanged},
    };
    snapshots.discard(repo.path(), changes, none);
    EXPECT_EQ(disk(repo), (std::map<std::string, std::string>{{"a1.txt", "two\n"},
                                                              {"a[1].txt", "one\n"},
                                                              {"deleted.txt", "deleted\n"},
                                                              {"modified.txt", "old\n"},
                                                              {"old name.txt", "renamed content\nline\nline\n"},
                                                              {"source.txt", "copied content\nline\nline\n"},
                                                              {"type.txt", "file\n"}}));
    EXPECT_EQ(repo.git({"status", "--porcelain"}), " M a1.txt\n");
}

// Another git process holds the index's lock for a moment (a status run
// from a second terminal): the undo waits for it and finishes. A lock that
// stays fails the undo, which then finishes when it runs again.
TEST_F(SnapshotTest, RestoreWaitsForAPassingIndexLock) {
    repo.writeFile("a.txt", "a\n");
    repo.commitAll("base");
    const auto discardEdits = [&] {
        repo.writeFile("a.txt", "edited\n");
        repo.writeFile("u.txt", "untracked\n");
        const std::vector<FileChange> changes{{"a.txt", std::nullopt, ChangeKind::modified},
                                              {"u.txt", std::nullopt, ChangeKind::untracked}};
        const std::string ref = snapshots.create(repo.path(), SnapshotCommands::pathsTouchedBy(changes), 7, none);
        snapshots.discard(repo.path(), changes, none);
        EXPECT_EQ(disk(repo), (std::map<std::string, std::string>{{"a.txt", "a\n"}}));
        return ref;
    };
    const std::string lock = repo.path() + "/.git/index.lock";
    const std::map<std::string, std::string> edited{{"a.txt", "edited\n"}, {"u.txt", "untracked\n"}};

    const std::string first = discardEdits();
    std::ofstream(lock).put('x');
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        std::filesystem::remove(lock);
    });
    snapshots.restore(repo.path(), first, {"a.txt", "u.txt"}, none);
    release.join();
    EXPECT_EQ(disk(repo), edited);

    repo.git({"reset", "-q", "--hard"});
    repo.removeFile("u.txt");
    const std::string second = discardEdits();
    std::ofstream(lock).put('x');
    SnapshotCommands impatient = snapshots;
    impatient.lockPatience = std::chrono::milliseconds(100);
    const auto failure = testing::commandFailure([&] { impatient.restore(repo.path(), second, {"a.txt", "u.txt"}, none); });
    EXPECT_NE(failure.stderr.find("index.lock"), std::string::npos) << failure.stderr;
    std::filesystem::remove(lock);
    impatient.restore(repo.path(), second, {"a.txt", "u.txt"}, none);
    EXPECT_EQ(disk(repo), edited);
    EXPECT_EQ(repo.git({"status", "--porcelain"}), " M a.txt\n?? u.txt\n");
}

// Discard then undo gives back the working file's own bytes, whatever git's
// filters and line endings would make of them: the snapshot keeps them as
// they are and the undo writes them back as they are. An old snapshot,
// which kept what the filters made of them, still comes back through them.
TEST(SnapshotBytes, DiscardThenUndoGivesBackTheWorkingBytes) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> config;
        std::string attributes;  // .gitattributes, committed
        std::string edited;      // the working bytes discarded and brought back
    };
    const Case cases[] = {
        {"keyword filter",
         {{"filter.kw.clean", "sed -e 's/[$]Id[^$]*[$]/$Id$/'"}, {"filter.kw.smudge", "sed -e 's/[$]Id[$]/$Id: x $/'"}},
         "*.txt filter=kw\n",
         "$Id: my own words $\nedited\n"},
        {"eol=crlf", {}, "*.txt text eol=crlf\n", "lf\nendings\n"},
        {"autocrlf, mixed endings", {{"core.autocrlf", "true"}}, "", "crlf\r\nlf\nlast\r\n"},
        {"lossy clean filter",
         {{"filter.strip.clean", "sed -e 's/[[:space:]]*$//'"}, {"filter.strip.smudge", "cat"}},
         "*.txt filter=strip\n",
         "trailing   \nblanks\t\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tarv::testing::TempGitRepo repo;
        SnapshotCommands snapshots{testing::realExecutor(repo), std::make_shared<testing::DiskFiles>()};
        for (const auto& [key, value] : c.config) repo.setConfig(key, value);
        repo.writeFile(".gitattributes", c.attributes);
        repo.writeFile("a.txt", "committed\n");
        repo.commitAll("base");
        repo.writeFile("a.txt", c.edited);
        const std::vector<FileChange> changes{{"a.txt", std::nullopt, ChangeKind::modified}};

        const std::string ref = snapshots.create(repo.path(), {"a.txt"}, 11, std::stop_token{});
        snapshots.discard(repo.path(), changes, std::stop_token{});
        ASSERT_NE(repo.readFile("a.txt"), c.edited);
        snapshots.restore(repo.path(), ref, {"a.txt"}, std::stop_token{});
        EXPECT_EQ(repo.readFile("a.txt"), c.edited);
    }
}

// The undo writes files itself: a link now standing where a folder of a
// discarded file was (pointing outside the working tree), or a folder where
// the file was, refuses the whole undo before anything is written.
TEST_F(SnapshotTest, AnUndoNeverWritesThroughALinkOrOverAFolder) {
    repo.writeFile("kept.txt", "kept\n");
    repo.commitAll("base");
    const std::vector<FileChange> changes{{"d/a.txt", std::nullopt, ChangeKind::untracked},
                                          {"b.txt", std::nullopt, ChangeKind::untracked}};
    for (const bool folderInTheWay : {false, true}) {
        SCOPED_TRACE(folderInTheWay ? "folder in the way" : "link in the way");
        repo.writeFile("d/a.txt", "a\n");
        repo.writeFile("b.txt", "b\n");
        const std::string ref = snapshots.create(repo.path(), {"d/a.txt", "b.txt"}, 21, none);
        snapshots.discard(repo.path(), changes, none);
        std::filesystem::remove_all(repo.path() + "/d");
        const std::string outside = repo.makeFolder("outside");
        if (folderInTheWay) {
            repo.writeFile("d/a.txt/inner.txt", "inner\n");
        } else {
            std::filesystem::create_directory_symlink(outside, repo.path() + "/d");
        }
        const auto before = disk(repo);

        const auto failure = testing::commandFailure([&] { snapshots.restore(repo.path(), ref, {"d/a.txt", "b.txt"}, none); });
        EXPECT_NE(failure.stderr.find("d/a.txt"), std::string::npos) << failure.stderr;
        EXPECT_EQ(disk(repo), before);
        EXPECT_TRUE(std::filesystem::is_empty(outside));
        std::filesystem::remove_all(repo.path() + "/d");
        std::filesystem::remove_all(outside);
    }
}

TEST(SnapshotBytes, AnOldSnapshotComesBackThroughTheFilters) {
    tarv::testing::TempGitRepo repo;
    SnapshotCommands snapshots{testing::realExecutor(repo), std::make_shared<testing::DiskFiles>()};
    repo.writeFile(".gitattributes", "*.txt text eol=crlf\n");
    repo.writeFile("a.txt", "committed\n");
    repo.commitAll("base");
    // What "git add" made of "one\r\ntwo\r\n": LF endings, as an older
    // snapshot kept it.
    repo.writeFile("a.txt", "one\ntwo\n");
    repo.git({"add", "a.txt"});
    std::string tree = repo.git({"write-tree"});
    tree.pop_back();
    std::string commit = repo.git({"commit-tree", tree, "-p", "HEAD", "-m", "tarv snapshot"});
    commit.pop_back();
    repo.git({"update-ref", "refs/tarv/snapshots/1-" + commit.substr(0, 7), commit});
    repo.git({"reset", "-q", "--hard"});

    snapshots.restore(repo.path(), "refs/tarv/snapshots/1-" + commit.substr(0, 7), {"a.txt"}, std::stop_token{});
    EXPECT_EQ(repo.readFile("a.txt"), "one\r\ntwo\r\n");
}

TEST_F(SnapshotTest, AConflictedFileRefusesTheWholeDiscard) {
    repo.writeFile("a.txt", "a\n");
    repo.commitAll("base");
    repo.writeFile("a.txt", "changed\n");
    repo.writeFile("u.txt", "u\n");
    const std::vector<FileChange> changes{{"a.txt", std::nullopt, ChangeKind::modified},
                                          {"u.txt", std::nullopt, ChangeKind::untracked},
                                          {"c.txt", std::nullopt, ChangeKind::conflicted}};
    EXPECT_EQ(refusal([&] { snapshots.discard(repo.path(), changes, none); }),
              "Resuelve el conflicto de c.txt antes de descartarlo");
    EXPECT_EQ(repo.readFile("a.txt"), "changed\n");
    EXPECT_TRUE(repo.exists("u.txt"));

    auto recorder = std::make_shared<tarv::testing::GitScriptedRunner>();
    SnapshotCommands{testing::recordingExecutor(repo, recorder), files}.discard(repo.path(), {}, none);
    EXPECT_TRUE(recorder->specs().empty());
}

}  // namespace
}  // namespace tarv::engine
