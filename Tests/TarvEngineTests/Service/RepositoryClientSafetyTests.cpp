// The live client never writes where the user did not open, and leaves
// nothing of its own behind in the repository, on real git.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <thread>

#include "Support/TempGitRepo.hpp"
#include "TarvCore/Errors/UnfinishedDiscard.hpp"
#include "TarvEngineTests/Service/RepositoryClientFixture.hpp"

namespace tarv::engine {
namespace {

using tarv::testing::TempGitRepo;
const std::stop_token none;

// Sets a variable of this process's environment for the life of the value.
struct EnvironmentScope {
    std::string name;
    std::optional<std::string> previous;

    EnvironmentScope(std::string variable, const std::string& value) : name(std::move(variable)) {
        if (const char* old = std::getenv(name.c_str())) previous = old;
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    ~EnvironmentScope() {
        if (previous) {
            ::setenv(name.c_str(), previous->c_str(), 1);
        } else {
            ::unsetenv(name.c_str());
        }
    }
};

struct RepositoryClientSafety : ::testing::Test {
    TempGitRepo repo;
    std::shared_ptr<GitRepositoryClientLive> client = testing::liveClient(repo);
    const std::string& path = repo.path();
};

// A repository opened inside another whose ".git" is moved away: its reads
// and writes fail, and none of them reaches the repository above (whose
// staged state stays as it was).
TEST_F(RepositoryClientSafety, AVanishedRepositoryIsAnErrorNotTheOneAbove) {
    repo.writeFile("outer.txt", "outer\n");
    repo.commitAll("outer");
    repo.writeFile("outer.txt", "staged in the outer repository\n");
    repo.git({"add", "outer.txt"});
    const std::string inner = path + "/inner";
    repo.git({"init", "-q", inner});
    repo.writeFile("inner/x.txt", "x\n");
    ASSERT_EQ(client->repositoryRoot(inner, none), inner);
    ASSERT_EQ(client->status(inner, none).files.size(), 1u);

    std::filesystem::rename(inner + "/.git", path + "/moved-away.git");
    const std::string staged = repo.git({"diff", "--cached", "--name-only"});
    EXPECT_THROW(client->status(inner, none), core::GitError);
    EXPECT_THROW(client->commitIncluding(inner, {"Inner", "", {}}, {"x.txt"}, none), core::GitError);
    EXPECT_THROW(client->discard(inner, {{"x.txt", std::nullopt, core::ChangeKind::untracked}}, none),
                 core::GitError);
    EXPECT_EQ(repo.git({"diff", "--cached", "--name-only"}), staged);
    EXPECT_EQ(repo.readFile("inner/x.txt"), "x\n");
    EXPECT_EQ(repo.git({"log", "--format=%s"}), "outer\n");
}

// Started with git's locating variables naming another repository (from a
// hook, an alias, a shell set up for that one), the program still reads and
// commits the folder it opened; the other repository is not touched.
TEST_F(RepositoryClientSafety, GitsLocatingVariablesDoNotRedirectReadsOrCommits) {
    TempGitRepo other;
    other.writeFile("o.txt", "other\n");
    other.commitAll("other");
    other.writeFile("o.txt", "edited in the other\n");
    repo.writeFile("a.txt", "a\n");
    repo.commitAll("base");
    repo.writeFile("a.txt", "changed\n");
    const std::string otherGit = other.path() + "/.git";
    {
        const EnvironmentScope scopes[] = {
            {"GIT_DIR", otherGit},
            {"GIT_WORK_TREE", other.path()},
            {"GIT_INDEX_FILE", otherGit + "/index"},
            {"GIT_OBJECT_DIRECTORY", otherGit + "/objects"},
            {"GIT_COMMON_DIR", otherGit},
        };
        ASSERT_EQ(client->repositoryRoot(path, none), path);
        const auto files = client->status(path, none).files;
        ASSERT_EQ(files.size(), 1u);
        EXPECT_EQ(files[0].path, "a.txt");
        client->commitIncluding(path, {"Mine", "", {}}, {"a.txt"}, none);
    }

    EXPECT_EQ(repo.git({"log", "--format=%s"}), "Mine\nbase\n");
    EXPECT_EQ(repo.git({"show", "HEAD:a.txt"}), "changed\n");
    EXPECT_EQ(repo.git({"status", "--porcelain"}), "");
    EXPECT_EQ(other.git({"log", "--format=%s"}), "other\n");
    EXPECT_EQ(other.git({"status", "--porcelain"}), " M o.txt\n");
}

// Temporary indexes (and their locks) that a snapshot stopped or killed by
// an earlier run left in the git folder go when the repository is opened;
// the git folder's other files stay.
TEST_F(RepositoryClientSafety, OpeningRemovesWhatAStoppedSnapshotLeft) {
    const std::string git = path + "/.git/";
    for (const char* name : {"tarv-snapshot-index-17-3", "tarv-snapshot-index-17-3.lock",
                             "tarv-snapshot-index-17-3-staged.lock", "tarv-other"}) {
        repo.writeFile(std::string(".git/") + name, "");
    }
    ASSERT_EQ(client->repositoryRoot(path, none), path);
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(git)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("tarv")) left.push_back(name);
    }
    EXPECT_EQ(left, std::vector<std::string>{"tarv-other"});
}

// Waits until `done` holds, for at most a minute.
bool eventually(const std::function<bool()>& done) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// The program is killed while git's commit still runs (a slow pre-commit
// hook): git, in a session of its own, finishes by itself. At the next
// opening the user's index matches what git did: the commit's content
// where the hook let it through, what it was where the hook refused; what
// was staged outside the selection stays staged either way, and nothing of
// the program's is left in the git folder.
TEST_F(RepositoryClientSafety, ACommitThatOutlivesTheProgramLeavesTheIndexMatchingIt) {
    struct Case {
        const char* name;
        int hookExit;
        std::string log;
        std::string status;
    };
    const std::vector<Case> cases{
        {"the hook lets the commit through", 0, "Slow\nbase\n", "M  b.txt\n"},
        {"the hook refuses the commit", 1, "base\n", " M a.txt\nM  b.txt\n"},
    };
    repo.writeFile("a.txt", "a\n");
    repo.writeFile("b.txt", "b\n");
    const std::string base = repo.commitAll("base");
    const std::string started = repo.home() + "/hook-started";
    const std::string go = repo.home() + "/hook-go";
    const auto gitFolderFiles = [&] {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(path + "/.git")) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with("tarv") || name.ends_with(".lock")) found.push_back(name);
        }
        return found;
    };
    for (const auto& c : cases) {
        repo.git({"reset", "-q", "--hard", base});
        std::filesystem::remove(started);
        std::filesystem::remove(go);
        repo.writeFile("b.txt", "staged\n");
        repo.git({"add", "b.txt"});
        repo.writeFile("a.txt", "edited\n");
        repo.writeFile(".git/hooks/pre-commit", "#!/bin/sh\ntouch '" + started + "'\nwhile [ ! -e '" + go +
                                                    "' ]; do sleep 0.02; done\nexit " + std::to_string(c.hookExit) +
                                                    "\n");
        ::chmod((path + "/.git/hooks/pre-commit").c_str(), 0755);

        const pid_t program = ::fork();
        ASSERT_GE(program, 0);
        if (program == 0) {
            try {
                testing::liveClient(repo)->commitIncluding(path, {"Slow", "", {}}, {"a.txt"}, none);
            } catch (...) {
            }
            ::_exit(0);
        }
        const bool hookRan = eventually([&] { return std::filesystem::exists(started); });
        ::kill(program, SIGKILL);
        ::waitpid(program, nullptr, 0);
        ASSERT_TRUE(hookRan) << c.name;
        std::ofstream(go).put('\n');
        // git is done once its own lock on the index it commits is gone.
        ASSERT_TRUE(eventually([&] {
            for (const auto& name : gitFolderFiles()) {
                if (name.starts_with("tarv") && name.ends_with(".lock")) return false;
            }
            return true;
        })) << c.name;

        ASSERT_EQ(client->repositoryRoot(path, none), path) << c.name;
        EXPECT_EQ(repo.git({"log", "--format=%s"}), c.log) << c.name;
        EXPECT_EQ(repo.git({"status", "--porcelain"}), c.status) << c.name;
        EXPECT_EQ(gitFolderFiles(), std::vector<std::string>{}) << c.name;
    }
}

// HEAD's copy of a staged file is lost: the discard removes the untracked
// file, then cannot restore the staged one from HEAD. The failure hands on
// the snapshot, which brings both back (the staged version staged again).
TEST_F(RepositoryClientSafety, ADiscardThatFailsHalfWayHandsOnItsSnapshot) {
    repo.writeFile("a.txt", "committed\n");
    repo.commitAll("base");
    repo.writeFile("a.txt", "staged\n");
    repo.git({"add", "a.txt"});
    repo.writeFile("u.txt", "untracked\n");
    std::string blob = repo.git({"rev-parse", "HEAD:a.txt"});
    blob.pop_back();
    std::filesystem::remove(path + "/.git/objects/" + blob.substr(0, 2) + "/" + blob.substr(2));
    const auto files = client->status(path, none).files;
    ASSERT_EQ(files.size(), 2u);

    std::string snapshot;
    try {
        client->discard(path, files, none);
        ADD_FAILURE() << "the discard cannot finish";
    } catch (const core::UnfinishedDiscard& unfinished) {
        snapshot = unfinished.snapshot;
        EXPECT_THROW(std::rethrow_exception(unfinished.cause), core::GitError);
    }
    ASSERT_TRUE(snapshot.starts_with("refs/tarv/snapshots/")) << snapshot;
    EXPECT_FALSE(repo.exists("u.txt"));

    client->restoreSnapshot(path, snapshot, {"a.txt", "u.txt"}, none);
    EXPECT_EQ(repo.readFile("u.txt"), "untracked\n");
    EXPECT_EQ(repo.readFile("a.txt"), "staged\n");
    EXPECT_EQ(repo.git({"show", ":a.txt"}), "staged\n");
}

// Undo never writes over the only copy of anything. A path that changed
// since its discard (edited again, made again after an untracked file's
// discard, or only its line endings changed) is first kept, as it is, in a
// recovery point under refs/tarv/ that the result names; a path as the
// discard left it, or removed since, is simply restored. The files have
// CRLF line endings in the working tree, so what the discard left is not
// HEAD's bytes.
TEST(RepositoryClientUndo, KeepsWhatChangedSinceTheDiscard) {
    enum class After { nothing, write, remove };
    struct Case {
        const char* name;
        core::ChangeKind kind;  // of a.txt when it was discarded
        After after;
        std::string written;                // after the discard (After::write)
        std::optional<std::string> kept;    // a.txt in the recovery point; none: no recovery point
    };
    const Case cases[] = {
        {"edited again", core::ChangeKind::modified, After::write, "later edit\r\n", "later edit\r\n"},
        {"made again", core::ChangeKind::untracked, After::write, "made again\n", "made again\n"},
        {"line endings only", core::ChangeKind::modified, After::write, "committed\n", "committed\n"},
        {"as the discard left it", core::ChangeKind::modified, After::nothing, "", std::nullopt},
        {"removed since", core::ChangeKind::modified, After::remove, "", std::nullopt},
        {"untracked, still gone", core::ChangeKind::untracked, After::nothing, "", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempGitRepo repo;
        const auto client = testing::liveClient(repo);
        repo.writeFile(".gitattributes", "*.txt text eol=crlf\n");
        if (c.kind == core::ChangeKind::modified) repo.writeFile("a.txt", "committed\n");
        repo.commitAll("base");
        repo.writeFile("a.txt", "discarded\n");
        const auto files = client->status(repo.path(), none).files;
        ASSERT_EQ(files.size(), 1u);
        ASSERT_EQ(files[0].kind, c.kind);
        const std::string snapshot = client->discard(repo.path(), files, none);
        if (c.after == After::write) repo.writeFile("a.txt", c.written);
        if (c.after == After::remove) repo.removeFile("a.txt");
        const std::string refsBefore = repo.git({"for-each-ref", "refs/tarv/"});

        const core::SnapshotRestore outcome = client->restoreSnapshot(repo.path(), snapshot, {"a.txt"}, none);
        EXPECT_EQ(repo.readFile("a.txt"), "discarded\n");
        if (!c.kept) {
            EXPECT_EQ(outcome, core::SnapshotRestore{});
            EXPECT_EQ(repo.git({"for-each-ref", "refs/tarv/"}), refsBefore);
            continue;
        }
        ASSERT_TRUE(outcome.keptEdits && outcome.keptEdits->starts_with("refs/tarv/")) << refsBefore;
        EXPECT_EQ(outcome.editedPaths, std::vector<std::string>{"a.txt"});
        EXPECT_EQ(repo.git({"cat-file", "blob", *outcome.keptEdits + ":a.txt"}), *c.kept);
    }
}

// A submodule with edits inside it is listed as one, and committing it
// alone fails with what git said (on its standard output) about it.
TEST_F(RepositoryClientSafety, ADirtySubmoduleIsNamedAndItsCommitSaysWhy) {
    repo.writeFile("x.txt", "x\n");
    const std::string sub = path + "/sub";
    repo.git({"init", "-q", sub});
    repo.writeFile("sub/i.txt", "i\n");
    repo.git({"add", "i.txt"}, sub);
    repo.git({"commit", "-q", "-m", "inner"}, sub);
    repo.commitAll("outer with a submodule");
    repo.writeFile("sub/i.txt", "changed inside\n");

    const auto files = client->status(path, none).files;
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].path, "sub");
    EXPECT_TRUE(files[0].isSubmodule);

    try {
        client->commitIncluding(path, {"Sub", "", {}}, {"sub"}, none);
        ADD_FAILURE() << "nothing can be committed";
    } catch (const core::GitError& error) {
        const auto* failed = std::get_if<core::GitError::CommandFailed>(&error.value);
        ASSERT_NE(failed, nullptr) << error.description();
        EXPECT_NE(failed->stderr.find("sub (modified content)"), std::string::npos) << failed->stderr;
    }
}

}  // namespace
}  // namespace tarv::engine
