// Remotes, clones and new repositories through the live client on real git,
// with a bare repository in the temporary folder as "origin".
#include <gtest/gtest.h>

#include <thread>

#include "Support/RepoClientGatedRunner.hpp"
#include "Support/RepoClientSync.hpp"
#include "Support/TempGitRepo.hpp"
#include "TarvEngineTests/Service/RepositoryClientFixture.hpp"

namespace tarv::engine {
namespace {

using testing::refusal;
using tarv::testing::eventually;
using tarv::testing::GatedRunner;
using tarv::testing::TempGitRepo;
const std::stop_token none;

core::CommitMessage message(std::string summary) { return core::CommitMessage{std::move(summary), "", {}}; }

template <class Call>
core::RemoteFailure remoteFailure(Call&& call) {
    try {
        call();
    } catch (const core::RemoteFailure& failure) {
        return failure;
    } catch (const std::exception& error) {
        ADD_FAILURE() << "other error: " << error.what();
    }
    return core::RemoteFailure::other("no failure");
}

struct RepositoryClientSync : ::testing::Test {
    TempGitRepo repo;
    std::string origin = repo.makeFolder("origin.git");
    std::shared_ptr<GitRepositoryClientLive> client = testing::liveClient(repo);
    const std::string& path = repo.path();
    int pushes = 0;

    void SetUp() override {
        repo.git({"init", "-q", "--bare", "-b", "main", origin});
        repo.writeFile("a.txt", "one\n");
        repo.commitAll("First");
        client->addRemote(path, "origin", origin, none);
    }
    std::string trimmedGit(const std::vector<std::string>& arguments,
                           const std::optional<std::string>& directory = std::nullopt) {
        std::string out = repo.git(arguments, directory);
        while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
        return out;
    }
    // A second clone of origin that commits `file` and pushes it.
    void pushFromElsewhere(const std::string& file) {
        const std::string other = repo.root() + "/other-" + file;
        if (!repo.exists("../other-" + file)) repo.git({"clone", "-q", origin, other});
        repo.writeFile("../other-" + file + "/" + file, "elsewhere " + std::to_string(++pushes) + "\n");
        repo.git({"add", "-A"}, other);
        repo.git({"commit", "-q", "-m", "Elsewhere"}, other);
        repo.git({"push", "-q", "origin", "HEAD"}, other);
    }
};

TEST_F(RepositoryClientSync, RemotesAreAddedAndRepointed) {
    EXPECT_EQ(client->remoteURL(path, "origin", none), origin);
    client->setRemoteURL(path, "origin", "https://example.invalid/r.git", none);
    EXPECT_EQ(client->remoteURL(path, "origin", none), "https://example.invalid/r.git");
    EXPECT_THROW(client->addRemote(path, "origin", origin, none), core::GitError);  // already there
    EXPECT_EQ(refusal([&] { client->addRemote(path, "up", "--upload-pack=x", none); }),
              "Remoto inválido: up --upload-pack=x");
}

TEST_F(RepositoryClientSync, PushWithUpstreamThenARejectedPushIsClassified) {
    client->push(path, "main", true, none);
    EXPECT_EQ(trimmedGit({"rev-parse", "main"}, origin), repo.revParse("HEAD"));
    const auto branches = client->branches(path, none);
    const auto main = std::find_if(branches.begin(), branches.end(), [](auto& b) { return b.name == "main"; });
    ASSERT_NE(main, branches.end());
    EXPECT_EQ(main->upstream, "origin/main");

    pushFromElsewhere("b.txt");
    repo.writeFile("a.txt", "local\n");
    repo.commitAll("Local");
    EXPECT_EQ(remoteFailure([&] { client->push(path, "main", false, none); }), core::RemoteFailure::nonFastForward());
}

TEST_F(RepositoryClientSync, FetchAndPullFollowTheRemoteAndPullRefusesDivergence) {
    client->push(path, "main", true, none);
    pushFromElsewhere("b.txt");
    client->fetch(path, none);
    auto status = client->status(path, none);
    EXPECT_EQ(status.branch.behind, 1);
    client->pull(path, none);
    EXPECT_TRUE(repo.exists("b.txt"));

    pushFromElsewhere("b.txt");
    repo.writeFile("a.txt", "local\n");
    repo.commitAll("Local");
    EXPECT_EQ(remoteFailure([&] { client->pull(path, none); }), core::RemoteFailure::divergentBranches());

    client->setRemoteURL(path, "origin", repo.root() + "/missing.git", none);
    EXPECT_EQ(remoteFailure([&] { client->fetch(path, none); }), core::RemoteFailure::repositoryNotFound());
}

TEST_F(RepositoryClientSync, CloneRunsWhileAnotherRepositorysQueueIsBusy) {
    client->push(path, "main", true, none);
    repo.writeFile("a.txt", "two\n");
    auto gated = std::make_shared<GatedRunner>(std::make_shared<system::PosixProcessRunner>(),
                                               [](const core::ProcessSpec& spec) {
                                                   return spec.arguments.size() > 4 && spec.arguments[4] == "commit";
                                               });
    auto shared = testing::liveClient(repo, gated);
    std::jthread committing([&] { shared->commitIncluding(path, message("Held"), {"a.txt"}, none); });
    ASSERT_TRUE(eventually([&] { return gated->held() == 1; }));

    const std::string copy = repo.root() + "/copy";
    shared->clone(origin, copy, none);
    EXPECT_TRUE(shared->repositoryExists(copy, none));
    EXPECT_EQ(shared->history(copy, 0, 100, none).size(), 1u);
    EXPECT_TRUE(shared->writeQueue()->isBusy(path));
    EXPECT_FALSE(shared->writeQueue()->knows(copy));

    gated->open();
    committing.join();
    // A failed clone is a remote failure too (git's own words, unclassified).
    auto failure = remoteFailure([&] { shared->clone(repo.root() + "/nothing.git", repo.root() + "/copy2", none); });
    ASSERT_TRUE(std::holds_alternative<core::RemoteFailure::Other>(failure.value));
    EXPECT_NE(std::get<core::RemoteFailure::Other>(failure.value).message.find("does not exist"), std::string::npos);
}

TEST_F(RepositoryClientSync, InitCreatesTheFolderAndHonoursTheConfiguredDefaultBranch) {
    const std::string fresh = repo.root() + "/new/deeper";
    client->initRepository(fresh, none);
    EXPECT_TRUE(client->repositoryExists(fresh, none));
    EXPECT_EQ(trimmedGit({"symbolic-ref", "--short", "HEAD"}, fresh), "main");

    repo.writeFile("../home/gitconfig", "[user]\n\tname = T\n\temail = t@example.com\n[init]\n\tdefaultBranch = trunk\n");
    const std::string configured = repo.root() + "/configured";
    client->initRepository(configured, none);
    EXPECT_EQ(trimmedGit({"symbolic-ref", "--short", "HEAD"}, configured), "trunk");
}

TEST_F(RepositoryClientSync, SwitchingToARemoteBranchTracksIt) {
    repo.git({"switch", "-q", "-c", "feature"});
    repo.commitAll("Feature");
    client->push(path, "feature", true, none);
    repo.git({"switch", "-q", "main"});
    repo.git({"branch", "-D", "feature"});
    client->switchBranch(path, "origin/feature", none);
    EXPECT_EQ(trimmedGit({"symbolic-ref", "--short", "HEAD"}), "feature");
    EXPECT_EQ(trimmedGit({"rev-parse", "--abbrev-ref", "feature@{upstream}"}), "origin/feature");
}

TEST_F(RepositoryClientSync, PullRequestsFromAForkAndFromTheSameRepository) {
    const std::string first = repo.revParse("HEAD");
    repo.git({"push", "-q", "origin", "HEAD:refs/pull/7/head"});
    EXPECT_EQ(client->checkoutPullRequest(path, 7, "ignored", true, none), "pr/7");
    EXPECT_EQ(trimmedGit({"symbolic-ref", "--short", "HEAD"}), "pr/7");

    // A second checkout while pr/7 is current fast-forwards it.
    repo.writeFile("b.txt", "pr\n");
    const std::string next = repo.commitAll("More");
    repo.git({"reset", "-q", "--hard", first});
    repo.git({"push", "-q", "-f", "origin", next + ":refs/pull/7/head"});
    EXPECT_EQ(client->checkoutPullRequest(path, 7, "ignored", true, none), "pr/7");
    EXPECT_EQ(repo.revParse("HEAD"), next);

    repo.git({"push", "-q", "origin", first + ":refs/heads/topic"});
    EXPECT_EQ(client->checkoutPullRequest(path, 8, "topic", false, none), "topic");
    EXPECT_EQ(trimmedGit({"rev-parse", "--abbrev-ref", "topic@{upstream}"}), "origin/topic");
}

}  // namespace
}  // namespace tarv::engine
