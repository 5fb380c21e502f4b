// Remote commands against a local bare repository standing in for "origin".
#include <gtest/gtest.h>

#include "TarvCore/Errors/RemoteFailure.hpp"
#include "TarvEngineTests/Writes/WriteTestSupport.hpp"

namespace tarv::engine {
namespace {

using core::RemoteFailure;

struct RemoteTest : testing::RealRepository {
    std::string origin;
    void SetUp() override {
        origin = repo.makeFolder("origin.git");
        repo.git({"init", "-q", "--bare", "-b", "main", origin});
        repo.writeFile("a.txt", "a\n");
        repo.commitAll("base");
        remotes.addRemote(repo.path(), "origin", origin, none);
    }

    // A second clone of origin, for the other side of a race.
    std::string otherClone(const std::string& name) {
        const std::string path = repo.root() + "/" + name;
        remotes.clone(origin, path, none);
        repo.git({"config", "user.name", "Other"}, path);
        return path;
    }
    void commitIn(const std::string& path, const std::string& message) {
        repo.git({"commit", "-q", "--allow-empty", "-m", message}, path);
    }
    RemoteFailure failureOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const RemoteFailure& failure) {
            return failure;
        } catch (const std::exception& error) {
            ADD_FAILURE() << "unexpected error " << error.what();
        }
        return RemoteFailure::other("no error");
    }
};

TEST_F(RemoteTest, PushPullFetchAndTheirClassifiedFailures) {
    remotes.push(repo.path(), "main", true, none);
    EXPECT_EQ(repo.git({"config", "branch.main.remote"}), "origin\n");
    EXPECT_EQ(repo.revParse("refs/remotes/origin/main"), repo.revParse("HEAD"));

    // Someone else pushes first: ours is rejected, then pull cannot
    // fast-forward over our own commit.
    const std::string other = otherClone("other");
    commitIn(other, "theirs");
    repo.git({"push", "-q"}, other);
    repo.commitAll("ours");
    EXPECT_EQ(failureOf([&] { remotes.push(repo.path(), "main", false, none); }), RemoteFailure::nonFastForward());
    EXPECT_EQ(failureOf([&] { remotes.pull(repo.path(), none); }), RemoteFailure::divergentBranches());

    // Without the local commit the pull fast-forwards.
    repo.git({"reset", "-q", "--hard", "HEAD~1"});
    remotes.pull(repo.path(), none);
    EXPECT_EQ(repo.git({"log", "-1", "--format=%s"}), "theirs\n");

    // Fetch prunes branches gone from origin.
    repo.git({"push", "-q", "origin", "HEAD:refs/heads/gone"});
    repo.git({"push", "-q", "origin", ":refs/heads/gone"}, other);
    remotes.fetch(repo.path(), none);
    EXPECT_EQ(repo.run({"rev-parse", "--verify", "-q", "refs/remotes/origin/gone"}).exitCode, 1);

    remotes.setRemoteURL(repo.path(), "origin", repo.root() + "/missing.git", none);
    EXPECT_EQ(failureOf([&] { remotes.fetch(repo.path(), none); }), RemoteFailure::repositoryNotFound());
    EXPECT_EQ(failureOf([&] { remotes.clone(repo.root() + "/missing.git", repo.root() + "/c2", none); }),
              RemoteFailure::other("fatal: repository '" + repo.root() + "/missing.git' does not exist"));
    EXPECT_EQ(testing::commandFailure([&] { remotes.addRemote(repo.path(), "origin", origin, none); }).command,
              "git remote add origin " + origin);
}

TEST_F(RemoteTest, PullRequestFromTheSameRepository) {
    repo.git({"push", "-q", "origin", "HEAD:refs/heads/feature"});
    EXPECT_EQ(remotes.checkoutPullRequest(repo.path(), 3, "feature", false, none), "feature");
    EXPECT_EQ(repo.git({"symbolic-ref", "--short", "HEAD"}), "feature\n");
    EXPECT_EQ(repo.git({"config", "branch.feature.merge"}), "refs/heads/feature\n");
    repo.git({"switch", "-q", "main"});
    EXPECT_EQ(remotes.checkoutPullRequest(repo.path(), 3, "feature", false, none), "feature");
    EXPECT_EQ(repo.git({"symbolic-ref", "--short", "HEAD"}), "feature\n");
}

TEST_F(RemoteTest, PullRequestFromAFork) {
    const std::string base = repo.revParse("HEAD");
    // The fork's work, published as refs/pull/7/head in origin.
    auto publish = [&](const std::string& parent, const std::string& message) {
        repo.git({"switch", "-q", "--detach", parent});
        repo.writeFile("pr.txt", message + "\n");
        const std::string id = repo.commitAll(message);
        repo.git({"push", "-q", "-f", "origin", id + ":refs/pull/7/head"});
        repo.git({"switch", "-q", "main"});
        return id;
    };
    const std::string first = publish(base, "pr one");
    EXPECT_EQ(remotes.checkoutPullRequest(repo.path(), 7, "ignored", true, none), "pr/7");
    EXPECT_EQ(repo.revParse("HEAD"), first);

    // Checked out again while current: fast-forwarded.
    const std::string second = publish(first, "pr two");
    repo.git({"switch", "-q", "pr/7"});
    EXPECT_EQ(remotes.checkoutPullRequest(repo.path(), 7, "", true, none), "pr/7");
    EXPECT_EQ(repo.revParse("HEAD"), second);

    // Not current and behind the pull request: moved, no backup needed.
    const std::string third = publish(second, "pr three");
    EXPECT_EQ(remotes.checkoutPullRequest(repo.path(), 7, "", true, none), "pr/7");
    EXPECT_EQ(repo.revParse("refs/heads/pr/7"), third);
    EXPECT_EQ(repo.run({"rev-parse", "--verify", "-q", "refs/tarv/backups/deleted/pr/7"}).exitCode, 1);

    // A local commit of the user's own on pr/7, and the pull request
    // rewritten meanwhile: the branch follows the pull request, the user's
    // commit is kept under the backup.
    repo.writeFile("mine.txt", "mine\n");
    const std::string mine = repo.commitAll("my own work on the pull request");
    repo.git({"switch", "-q", "main"});
    const std::string rewritten = publish(base, "pr rewritten");
    EXPECT_EQ(remotes.checkoutPullRequest(repo.path(), 7, "", true, none), "pr/7");
    EXPECT_EQ(repo.revParse("refs/heads/pr/7"), rewritten);
    EXPECT_EQ(repo.revParse("refs/tarv/backups/deleted/pr/7"), mine);

    // No such pull request: classified, nothing changed.
    repo.git({"switch", "-q", "main"});
    EXPECT_EQ(failureOf([&] { remotes.checkoutPullRequest(repo.path(), 8, "", true, none); }),
              RemoteFailure::other("fatal: couldn't find remote ref refs/pull/8/head"));
    EXPECT_EQ(repo.git({"symbolic-ref", "--short", "HEAD"}), "main\n");
}

// When the backup of the old pr/N cannot be written, the branch is left as
// it was and the checkout stops.
TEST_F(RemoteTest, PullRequestCheckoutStopsWhenTheBackupCannotBeWritten) {
    repo.git({"push", "-q", "origin", "HEAD:refs/pull/5/head"});
    repo.git({"branch", "pr/5"});
    repo.git({"switch", "-q", "pr/5"});
    repo.writeFile("mine.txt", "mine\n");
    const std::string mine = repo.commitAll("mine");
    repo.git({"switch", "-q", "main"});
    repo.git({"update-ref", "refs/tarv/backups/deleted/pr/5/x", "HEAD"});
    testing::commandFailure([&] { remotes.checkoutPullRequest(repo.path(), 5, "", true, none); });
    EXPECT_EQ(repo.revParse("refs/heads/pr/5"), mine);
    EXPECT_EQ(repo.git({"symbolic-ref", "--short", "HEAD"}), "main\n");
}

}  // namespace
}  // namespace tarv::engine
