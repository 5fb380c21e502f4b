// The client's frame seen through a runner that starts nothing: refusals
// come before any git process, the exact command lines the client builds
// itself, and a missing git failing before the write queue.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <thread>
#include <tuple>

#include "Support/RepoClientSync.hpp"
#include "Support/TempGitRepo.hpp"
#include "TarvEngineTests/Service/RepositoryClientFixture.hpp"

namespace tarv::engine {
namespace {

using testing::RecordingClient;
using testing::refusal;
using tarv::testing::GitScriptedRunner;
using Runs = std::vector<std::vector<std::string>>;

const std::string repo = "/work/repo";
const std::stop_token none;

core::CommitMessage message(std::string summary) { return core::CommitMessage{std::move(summary), "", {}}; }

TEST(RepositoryClientRefusals, EveryRefusalComesBeforeAnyGitProcessAndFreesTheQueue) {
    struct Case {
        const char* name;
        std::function<void(core::GitRepositoryClient&)> call;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"commit without files", [](auto& c) { c.commit(repo, message("x"), {}, none); },
         "No hay archivos incluidos en el commit"},
        {"commit whole list empty", [](auto& c) { c.commitIncluding(repo, message("x"), {}, none); },
         "No hay archivos incluidos en el commit"},
        {"commit blank summary", [](auto& c) { c.commit(repo, message(" \n\t"), core::CommitSelection{{"a"}, {}}, none); },
         "El resumen del commit es obligatorio"},
        {"tag name", [](auto& c) { c.createTag(repo, "a..b", "HEAD", none); }, "Nombre de etiqueta inválido: a..b"},
        {"tag revision", [](auto& c) { c.createTag(repo, "v1", "-x", none); }, "Revisión inválida: -x"},
        {"rename checks the new name first", [](auto& c) { c.renameBranch(repo, "-x", "bad..name", none); },
         "Nombre de rama inválido: bad..name"},
        {"rename old name", [](auto& c) { c.renameBranch(repo, "a b", "ok", none); }, "Revisión inválida: a b"},
        {"delete branch", [](auto& c) { c.deleteBranch(repo, "-x", false, none); }, "Revisión inválida: -x"},
        {"delete tag", [](auto& c) { c.deleteTag(repo, "a b", none); }, "Revisión inválida: a b"},
        {"worktree branch", [](auto& c) { c.addWorktree(repo, "/work/wt", "bad..name", none); },
         "Nombre de rama inválido: bad..name"},
        {"merge source", [](auto& c) { c.merge(repo, "x y", none); }, "Nombre de rama inválido: x y"},
        {"revert", [](auto& c) { c.revert(repo, "-x", none); }, "Revisión inválida: -x"},
        {"cherry-pick", [](auto& c) { c.cherryPick(repo, "a b", none); }, "Revisión inválida: a b"},
        {"reset hyphen", [](auto& c) { c.reset(repo, "--hard", core::ResetMode::mixed, none); },
         "Revisión inválida: --hard"},
        {"reset blank", [](auto& c) { c.reset(repo, "HEAD~1 x", core::ResetMode::soft, none); },
         "Revisión inválida: HEAD~1 x"},
        {"rebase", [](auto& c) { c.rebase(repo, "", none); }, "Revisión inválida: "},
        {"new branch", [](auto& c) { c.createBranch(repo, "bad..name", std::nullopt, none); },
         "Nombre de rama inválido: bad..name"},
        {"pull request number", [](auto& c) { c.checkoutPullRequest(repo, 0, "feature", false, none); },
         "Número de PR inválido: 0"},
        {"pull request head", [](auto& c) { c.checkoutPullRequest(repo, 3, "x y", false, none); },
         "Nombre de rama inválido: x y"},
        {"remote address option", [](auto& c) { c.addRemote(repo, "origin", "-x", none); }, "Remoto inválido: origin -x"},
        {"remote address empty", [](auto& c) { c.setRemoteURL(repo, "origin", "", none); }, "Remoto inválido: origin "},
        {"remote name", [](auto& c) { c.addRemote(repo, "a..b", "https://h/r.git", none); },
         "Remoto inválido: a..b https://h/r.git"},
        {"upstream branch", [](auto& c) { c.push(repo, "-f", true, none); }, "Revisión inválida: -f"},
    };
    for (const auto& c : cases) {
        RecordingClient recording;
        EXPECT_EQ(refusal([&] { c.call(*recording.client); }), c.expected) << c.name;
        EXPECT_EQ(recording.gitRuns(), Runs{}) << c.name;
        EXPECT_FALSE(recording.client->writeQueue()->knows(repo)) << c.name;
    }
}

TEST(RepositoryClientRefusals, AmendWithoutCommitsStopsAfterOneProbe) {
    RecordingClient recording([](const core::ProcessSpec&, std::stop_token) { return GitScriptedRunner::result(1); });
    EXPECT_EQ(refusal([&] { recording.client->amend(repo, message("x"), {}, none); }),
              "No hay ningún commit que modificar");
    EXPECT_EQ(recording.gitRuns(), (Runs{{"rev-parse", "--verify", "-q", "HEAD"}}));
}

TEST(RepositoryClientRefusals, EachRefusalHasItsEnglishTwin) {
    // The Spanish text stays the message; the English one goes beside it,
    // with the offending value in the same place.
    struct Case {
        const char* name;
        std::function<void(core::GitRepositoryClient&)> call;
        std::string spanish;
        std::string english;
    };
    const std::vector<Case> cases = {
        {"commit without files", [](auto& c) { c.commit(repo, message("x"), {}, none); },
         "No hay archivos incluidos en el commit", "No files are included in the commit"},
        {"tag name", [](auto& c) { c.createTag(repo, "a..b", "HEAD", none); }, "Nombre de etiqueta inválido: a..b",
         "Invalid tag name: a..b"},
        {"remote", [](auto& c) { c.addRemote(repo, "origin", "-x", none); }, "Remoto inválido: origin -x",
         "Invalid remote: origin -x"},
        {"missing branch", [](auto& c) { c.deleteBranch(repo, "gone", false, none); }, "La rama gone no existe",
         "The branch gone does not exist"},
        {"missing tag", [](auto& c) { c.deleteTag(repo, "v9", none); }, "La etiqueta v9 no existe",
         "The tag v9 does not exist"},
    };
    for (const auto& c : cases) {
        RecordingClient recording(
            [](const core::ProcessSpec&, std::stop_token) { return GitScriptedRunner::result(1); });
        try {
            c.call(*recording.client);
            ADD_FAILURE() << c.name << ": no refusal";
        } catch (const core::GitError& error) {
            EXPECT_EQ(error, core::GitError::invalidArgument(c.spanish, c.english)) << c.name;
        }
    }
}

TEST(RepositoryClientCommandLines, CommandsTheClientBuildsItself) {
    struct Case {
        const char* name;
        std::function<void(core::GitRepositoryClient&)> call;
        Runs expected;
    };
    const std::vector<Case> cases = {
        {"push with upstream", [](auto& c) { c.push(repo, "main", true, none); },
         {{"push", "--follow-tags", "-u", "origin", "main"}}},
        {"push", [](auto& c) { c.push(repo, "main", false, none); }, {{"push", "--follow-tags"}}},
        {"soft reset", [](auto& c) { c.reset(repo, "abc123", core::ResetMode::soft, none); },
         {{"update-ref", "refs/tarv/backups/pre-reset", "HEAD"}, {"reset", "--soft", "-q", "abc123", "--"}}},
        {"mixed reset", [](auto& c) { c.reset(repo, "abc123", core::ResetMode::mixed, none); },
         {{"update-ref", "refs/tarv/backups/pre-reset", "HEAD"}, {"reset", "--mixed", "-q", "abc123", "--"}}},
        {"branch at HEAD", [](auto& c) { c.createBranch(repo, "feature", std::nullopt, none); },
         {{"switch", "-c", "feature"}}},
        {"branch at a commit", [](auto& c) { c.createBranch(repo, "feature", "abc123", none); },
         {{"switch", "-c", "feature", "abc123"}}},
        {"tag", [](auto& c) { c.createTag(repo, "v1.0", "abc123", none); },
         {{"tag", "-a", "v1.0", "-m", "v1.0", "abc123"}}},
        {"rename", [](auto& c) { c.renameBranch(repo, "old", "new", none); }, {{"branch", "-m", "old", "new"}}},
        {"restore snapshot", [](auto& c) { c.restoreSnapshot(repo, "refs/tarv/snapshots/1-abcdef0", {"c", "a", "b"}, none); },
         {{"show", "-s", "--format=%P%x00%B", "--end-of-options", "refs/tarv/snapshots/1-abcdef0"},
          {"ls-tree", "-r", "-z", "--end-of-options", "refs/tarv/snapshots/1-abcdef0"},
          {"update-index", "-q", "--refresh"}}},
        {"revert", [](auto& c) { c.revert(repo, "abc123", none); }, {{"revert", "--no-edit", "abc123"}}},
        {"cherry-pick", [](auto& c) { c.cherryPick(repo, "abc123", none); }, {{"cherry-pick", "abc123"}}},
        {"add remote", [](auto& c) { c.addRemote(repo, "origin", "https://h/r.git", none); },
         {{"remote", "add", "origin", "https://h/r.git"}}},
        {"set remote", [](auto& c) { c.setRemoteURL(repo, "up", "git@h:r.git", none); },
         {{"remote", "set-url", "up", "git@h:r.git"}}},
        {"first history page", [](auto& c) { c.history(repo, 0, 50, none); },
         {{"log", "-z", "--format=%H%x1f%P%x1f%an%x1f%ae%x1f%at%x1f%s", "--max-count=50", "--skip=0"}}},
        {"diff of a commit", [](auto& c) { c.diffOfCommit("abc123", "a[1].txt", repo, none); },
         {{"show", "--no-color", "--no-ext-diff", "--format=", "-U3", "-m", "--first-parent", "abc123", "--",
           "a[1].txt"}}},
        {"branches", [](auto& c) { c.branches(repo, none); },
         {{"for-each-ref", "--sort=-committerdate",
           "--format=%(refname)%1f%(refname:short)%1f%(upstream:short)%1f%(upstream:track)%1f%(committerdate:unix)%1f%("
           "HEAD)",
           "refs/heads", "refs/remotes"}}},
        {"tags", [](auto& c) { c.tags(repo, none); },
         {{"for-each-ref", "--sort=-creatordate", "--format=%(refname:short)%00%(*objectname)%00%(objectname)",
           "refs/tags"}}},
        {"stashes", [](auto& c) { c.stashes(repo, none); }, {{"stash", "list", "-z", "--format=%gd%x1f%H%x1f%ct%x1f%gs"}}},
        {"worktrees", [](auto& c) { c.worktrees(repo, none); }, {{"worktree", "list", "--porcelain"}}},
    };
    for (const auto& c : cases) {
        RecordingClient recording;
        c.call(*recording.client);
        EXPECT_EQ(recording.gitRuns(), c.expected) << c.name;
    }
}

TEST(RepositoryClientCommandLines, WritesRunReadWriteInTheRepositoryAndReadsReadOnly) {
    RecordingClient recording;
    recording.client->createBranch(repo, "feature", std::nullopt, none);
    recording.client->branches(repo, none);
    recording.client->clone("https://h/r.git", "copy", none);
    auto specs = recording.runner->specs();
    ASSERT_EQ(specs.size(), 4u);  // --version, switch, for-each-ref, clone
    EXPECT_EQ(specs[1].currentDirectory, repo);
    EXPECT_FALSE(specs[1].environment.contains("GIT_OPTIONAL_LOCKS"));
    EXPECT_EQ(specs[2].environment.at("GIT_OPTIONAL_LOCKS"), "0");
    // Clone runs in this process's own folder: a relative destination is
    // relative to it.
    EXPECT_EQ(specs[3].currentDirectory, std::nullopt);
    EXPECT_EQ(specs[3].arguments.back(), "copy");
}

TEST(RepositoryClientCommandLines, NamedFilesAreTakenLiterally) {
    RecordingClient recording;
    recording.client->diffOfCommit("abc123", "*.txt", repo, none);
    recording.client->restoreSnapshot(repo, "refs/tarv/snapshots/1-abcdef0", {"*.txt"}, none);
    recording.client->resolve(repo, "*.txt", core::ConflictResolution::mine, none);
    for (const auto& spec : recording.runner->specs()) {
        const auto& arguments = spec.arguments;
        if (std::find(arguments.begin(), arguments.end(), "*.txt") == arguments.end()) continue;
        EXPECT_EQ(spec.environment.count("GIT_LITERAL_PATHSPECS"), 1u) << arguments[4];
    }
}

TEST(RepositoryClientCommandLines, ResolveKeepsASnapshotTakesOneSideThenMarksTheFileResolved) {
    // No operation marker exists on disk for this made-up repository, so the
    // outside-a-rebase mapping applies. The unmerged entries have a base (1)
    // and "theirs" (3): "ours" deleted the file.
    using Runs = std::vector<std::vector<std::string>>;
    const std::string unmerged =
        std::string("100644 aaa 1\tsrc/a.txt\0", 23) + std::string("100644 bbb 3\tsrc/a.txt\0", 23);
    for (auto [resolution, stages, expected] : {
             std::tuple{core::ConflictResolution::mine, std::string(), Runs{{"checkout", "--ours", "--", "src/a.txt"},
                                                                           {"add", "-f", "--", "src/a.txt"}}},
             std::tuple{core::ConflictResolution::theirs, std::string(),
                        Runs{{"checkout", "--theirs", "--", "src/a.txt"}, {"add", "-f", "--", "src/a.txt"}}},
             std::tuple{core::ConflictResolution::theirs, unmerged,
                        Runs{{"checkout", "--theirs", "--", "src/a.txt"}, {"add", "-f", "--", "src/a.txt"}}},
             std::tuple{core::ConflictResolution::mine, unmerged, Runs{{"rm", "-f", "-q", "--", "src/a.txt"}}},
         }) {
        RecordingClient recording([stages](const core::ProcessSpec& spec, std::stop_token) {
            if (spec.arguments[4] == "rev-parse")
                return GitScriptedRunner::result(0, ".git/MERGE_HEAD\n.git/rebase-merge\n.git/rebase-apply\n"
                                                    ".git/CHERRY_PICK_HEAD\n.git/REVERT_HEAD\n");
            if (spec.arguments[4] == "ls-files") return GitScriptedRunner::result(0, stages);
            return core::ProcessResult{};
        });
        recording.client->resolve(repo, "src/a.txt", resolution, none);
        auto runs = recording.gitRuns();
        const auto snapshot = std::find_if(runs.begin(), runs.end(), [](const auto& run) {
            return run.size() == 3 && run[0] == "update-ref" && run[1].starts_with("refs/tarv/snapshots/");
        });
        const auto listing =
            std::find(runs.begin(), runs.end(), std::vector<std::string>{"ls-files", "-u", "-z", "--", "src/a.txt"});
        ASSERT_NE(listing, runs.end());
        EXPECT_LT(snapshot, listing) << "the file is kept in a snapshot before anything changes it";
        EXPECT_EQ(Runs(listing + 1, runs.end()), expected);
    }
}

TEST(RepositoryClientFrame, NetworkTimeOutsStayTheRunnersErrorAndGitFailuresBecomeRemoteFailures) {
    RecordingClient timingOut([](const core::ProcessSpec&, std::stop_token) -> core::ProcessResult {
        throw core::ProcessError::timedOut();
    });
    EXPECT_THROW(timingOut.client->push(repo, "main", true, none), core::ProcessError);
    EXPECT_THROW(timingOut.client->fetch(repo, none), core::ProcessError);

    RecordingClient rejecting([](const core::ProcessSpec&, std::stop_token) {
        return GitScriptedRunner::result(1, "", " ! [rejected]        main -> main (fetch first)\n");
    });
    EXPECT_THROW(rejecting.client->push(repo, "main", false, none), core::RemoteFailure);
    EXPECT_FALSE(rejecting.client->writeQueue()->knows(repo));
}

TEST(RepositoryClientFrame, InitCreatesItsFolderBeforeAnythingElseAndStopsWhenItCannot) {
    RecordingClient recording;
    tarv::testing::TempGitRepo temp(tarv::testing::TempGitRepo::Start::emptyFolder);
    temp.writeFile("plain-file", "x");
    EXPECT_ANY_THROW(recording.client->initRepository(temp.path() + "/plain-file/repo", none));
    EXPECT_TRUE(recording.runner->specs().empty());  // not even git's lookup ran

    recording.client->initRepository(temp.path() + "/a/b", none);
    EXPECT_TRUE(std::filesystem::is_directory(temp.path() + "/a/b"));
    auto specs = recording.runner->specs();
    ASSERT_EQ(specs.size(), 3u);  // --version, the default-branch probe, init
    EXPECT_EQ(specs[1].currentDirectory, temp.path() + "/a/b");
}

TEST(RepositoryClientFrame, AMissingGitFailsAtOnceEvenWhileAnotherWriteHoldsTheRepository) {
    struct NothingExecutable final : core::FileSystem {
        bool isExecutableFile(const std::string&) const override { return false; }
    };
    auto runner = std::make_shared<GitScriptedRunner>();
    auto provider = std::make_shared<GitExecutorProvider>(
        GitLocator{runner, std::make_shared<NothingExecutable>(), std::nullopt, std::nullopt}, runner, std::nullopt,
        std::nullopt);
    GitRepositoryClientLive client(provider, std::make_shared<system::LocalFileStore>(),
                                   std::make_shared<system::SystemClock>());
    tarv::testing::Gate hold;
    std::jthread holder([&] { client.writeQueue()->serialized(repo, [&] { hold.wait(); }); });
    ASSERT_TRUE(tarv::testing::eventually([&] { return client.writeQueue()->isBusy(repo); }));

    EXPECT_THROW(client.reset(repo, "HEAD", core::ResetMode::soft, none), core::GitError);
    EXPECT_THROW(client.fetch(repo, none), core::GitError);
    EXPECT_FALSE(hold.isOpen());
    EXPECT_EQ(client.writeQueue()->waiting(repo), 0u);
    hold.open();
}

TEST(RepositoryClientFrame, RepositoryExistsAsksTheFileStoreOnlyAndAnswersWithoutGit) {
    tarv::testing::TempGitRepo temp;
    struct NothingExecutable final : core::FileSystem {
        bool isExecutableFile(const std::string&) const override { return false; }
    };
    auto runner = std::make_shared<GitScriptedRunner>();
    GitRepositoryClientLive client(
        std::make_shared<GitExecutorProvider>(
            GitLocator{runner, std::make_shared<NothingExecutable>(), std::nullopt, std::nullopt}, runner,
            std::nullopt, std::nullopt),
        std::make_shared<system::LocalFileStore>(), std::make_shared<system::SystemClock>());
    EXPECT_TRUE(client.repositoryExists(temp.path(), none));
    EXPECT_FALSE(client.repositoryExists(temp.root(), none));
    EXPECT_FALSE(client.repositoryExists(temp.root() + "/missing", none));
    EXPECT_TRUE(runner->specs().empty());
    EXPECT_THROW(client.status(temp.path(), none), core::GitError);
}

}  // namespace
}  // namespace tarv::engine
