// History edits (squash, move up, move down) on real linear histories.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TarvEngine/Safety/ScriptFolder.hpp"
#include "TarvEngineTests/Writes/WriteTestSupport.hpp"

namespace tarv::engine {
namespace {

using core::HistoryEdit;
using core::OperationResult;
using testing::refusal;

struct HistoryEditTest : testing::RealRepository {
    // The temporary folder has a single quote in its name: the script
    // folder's path must survive the shell.
    std::string temporary = repo.makeFolder("it's tmp");
    testing::FilesWithTemporaryFolder scriptFiles{temporary};
    std::vector<std::string> ids;  // c1 .. c5, oldest first

    void SetUp() override {
        for (int i = 1; i <= 5; ++i) {
            repo.writeFile("f" + std::to_string(i) + ".txt", std::to_string(i) + "\n");
            ids.push_back(repo.commitAll("m" + std::to_string(i)));
        }
    }
    // Subjects from oldest to newest.
    std::string subjects() { return repo.git({"log", "--reverse", "--format=%s"}); }
    OperationResult edit(const HistoryEdit& edit) { return writes.editHistory(repo.path(), edit, scriptFiles, none); }
    std::vector<std::string> scriptFolders() { return scriptFiles.contentsOfDirectory(temporary); }
};

TEST_F(HistoryEditTest, SquashMoveUpAndMoveDown) {
    struct Case {
        const char* name;
        std::function<HistoryEdit(const std::vector<std::string>&)> edit;
        std::string subjects;
    };
    const std::vector<Case> cases{
        {"squash m4 into m3", [](auto& c) { return HistoryEdit::squashIntoParent(c[3]); }, "m1\nm2\nm3\nm5\n"},
        {"move m3 up", [](auto& c) { return HistoryEdit::moveUp(c[2]); }, "m1\nm2\nm4\nm3\nm5\n"},
        {"move m3 down", [](auto& c) { return HistoryEdit::moveDown(c[2]); }, "m1\nm3\nm2\nm4\nm5\n"},
        {"squash m2 into the root", [](auto& c) { return HistoryEdit::squashIntoParent(c[1]); }, "m1\nm3\nm4\nm5\n"},
        {"move the root up", [](auto& c) { return HistoryEdit::moveUp(c[0]); }, "m2\nm1\nm3\nm4\nm5\n"},
        {"by an abbreviated id", [](auto& c) { return HistoryEdit::moveDown(c[4].substr(0, 8)); },
         "m1\nm2\nm3\nm5\nm4\n"},
        {"by a revision relative to HEAD", [](auto&) { return HistoryEdit::moveUp("HEAD~1"); }, "m1\nm2\nm3\nm5\nm4\n"},
    };
    const std::string tip = ids.back();
    const std::string tree = repo.revParse("HEAD^{tree}");
    for (const auto& c : cases) {
        EXPECT_EQ(edit(c.edit(ids)), OperationResult::completed()) << c.name;
        EXPECT_EQ(subjects(), c.subjects) << c.name;
        EXPECT_EQ(repo.revParse("HEAD^{tree}"), tree) << c.name;
        EXPECT_EQ(repo.revParse("refs/tarv/backups/pre-rebase"), tip) << c.name;
        EXPECT_TRUE(scriptFolders().empty()) << c.name;
        repo.git({"reset", "-q", "--hard", tip});
    }
}

TEST_F(HistoryEditTest, SquashedMessageIsParentThenTarget) {
    repo.writeFile("g.txt", "g\n");
    repo.git({"add", "g.txt"});
    repo.commit("Parent\n\nbody one\n\n\n", {"--cleanup=verbatim"});
    repo.writeFile("h.txt", "h\n");
    repo.git({"add", "h.txt"});
    repo.commit("Target\n\n\n", {"--cleanup=verbatim"});
    EXPECT_EQ(edit(HistoryEdit::squashIntoParent("HEAD")), OperationResult::completed());
    const std::string object = repo.git({"cat-file", "-p", "HEAD"});
    EXPECT_EQ(object.substr(object.find("\n\n") + 2), "Parent\n\nbody one\n\nTarget\n");
    EXPECT_EQ(repo.git({"rev-list", "--count", "HEAD"}), "6\n");
    EXPECT_EQ(testing::treePaths(repo, "HEAD").size(), 7u);
}

TEST_F(HistoryEditTest, Refusals) {
    repo.git({"switch", "-q", "-c", "side", ids[2]});
    repo.writeFile("side.txt", "s\n");
    const std::string side = repo.commitAll("side");
    repo.git({"switch", "-q", "main"});

    const std::vector<std::pair<std::string, HistoryEdit>> cases{
        {"Revisión inválida: HEAD ~1", HistoryEdit::moveUp("HEAD ~1")},
        {"El commit no está en la rama actual", HistoryEdit::moveUp(side)},
        {"El commit no está en la rama actual", HistoryEdit::moveUp("no-such-thing")},
        {"Ya es el commit más reciente", HistoryEdit::moveUp(ids[4])},
        {"Es el primer commit: no tiene uno anterior", HistoryEdit::moveDown(ids[0])},
        {"Es el primer commit: no tiene uno anterior", HistoryEdit::squashIntoParent(ids[0])},
    };
    for (const auto& [expected, request] : cases) {
        EXPECT_EQ(refusal([&] { edit(request); }), expected);
    }

    // A tracked change blocks; an untracked file does not.
    repo.writeFile("f1.txt", "dirty\n");
    EXPECT_EQ(refusal([&] { edit(HistoryEdit::moveUp(ids[3])); }),
              "Guarda o descarta tus cambios antes de reescribir el historial");
    repo.git({"checkout", "-q", "--", "f1.txt"});
    repo.writeFile("untracked.txt", "u\n");

    // Commits already in the upstream cannot be rewritten; newer ones can.
    const std::string remote = repo.makeFolder("remote.git");
    repo.git({"init", "-q", "--bare", remote});
    repo.git({"remote", "add", "origin", remote});
    repo.git({"push", "-q", "origin", ids[2] + ":refs/heads/main"});
    repo.git({"fetch", "-q", "origin"});
    repo.git({"branch", "-q", "--set-upstream-to=origin/main"});
    EXPECT_EQ(refusal([&] { edit(HistoryEdit::moveUp(ids[2])); }),
              "Ese commit ya se subió: reescribirlo obligaría a forzar el push");
    EXPECT_EQ(edit(HistoryEdit::moveUp(ids[3])), OperationResult::completed());
    EXPECT_EQ(subjects(), "m1\nm2\nm3\nm5\nm4\n");

    // A merge commit inside the range.
    repo.git({"merge", "-q", "--no-ff", "-m", "merge side", "side"});
    repo.writeFile("after.txt", "a\n");
    const std::string after = repo.commitAll("after");
    EXPECT_EQ(refusal([&] { edit(HistoryEdit::squashIntoParent(repo.revParse("HEAD~1"))); }),
              "Hay commits de merge en medio: no se puede reescribir con seguridad");
    EXPECT_EQ(repo.revParse("HEAD"), after);
    EXPECT_TRUE(scriptFolders().empty());
}

// Moving two commits that change the same line past each other stops on a
// conflict: the backup and the private script folder stay for continue or
// abort.
TEST_F(HistoryEditTest, ConflictLeavesTheScriptFolderAndTheBackup) {
    repo.writeFile("f1.txt", "changed by m6\n");
    repo.commitAll("m6");
    repo.writeFile("f1.txt", "changed by m7\n");
    const std::string tip = repo.commitAll("m7");
    auto result = edit(HistoryEdit::moveUp("HEAD~1"));
    EXPECT_EQ(result, OperationResult::conflicts({"f1.txt"}));
    EXPECT_EQ(repo.revParse("refs/tarv/backups/pre-rebase"), tip);
    const auto folders = scriptFolders();
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0].size(), std::string("tarv-rebase-").size() + 36);
    struct stat info {};
    ASSERT_EQ(::lstat((temporary + "/" + folders[0]).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    writes.abortOperation(repo.path(), *files, [] {}, none);
    EXPECT_EQ(repo.revParse("HEAD"), tip);
}

TEST_F(HistoryEditTest, TheScriptFolderIsNeverTakenOver) {
    const std::string path = temporary + "/" + ScriptFolder::newName();
    ScriptFolder::create(path);
    EXPECT_THROW(ScriptFolder::create(path), std::filesystem::filesystem_error);
    std::filesystem::create_symlink(temporary, temporary + "/link");
    EXPECT_THROW(ScriptFolder::create(temporary + "/link"), std::filesystem::filesystem_error);
    EXPECT_EQ(ScriptFolder::shellQuoted("/tmp/it's"), "'/tmp/it'\\''s'");
    EXPECT_NE(ScriptFolder::newName(), ScriptFolder::newName());
}

}  // namespace
}  // namespace tarv::engine
