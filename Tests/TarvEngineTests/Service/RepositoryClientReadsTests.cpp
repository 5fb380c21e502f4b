// Reads through the live client on real git, and how reads, writes and
// cancellation meet on one repository.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "Support/RepoClientGatedRunner.hpp"
#include "Support/RepoClientSync.hpp"
#include "Support/TempGitRepo.hpp"
#include "TarvEngineTests/Service/RepositoryClientFixture.hpp"

namespace tarv::engine {
namespace {

using tarv::testing::eventually;
using tarv::testing::GatedRunner;
using tarv::testing::TempGitRepo;
const std::stop_token none;

core::CommitMessage message(std::string summary) { return core::CommitMessage{std::move(summary), "", {}}; }

std::vector<std::string> paths(const std::vector<core::FileChange>& files) {
    std::vector<std::string> result;
    for (const auto& file : files) result.push_back(file.path);
    return result;
}

TEST(RepositoryClientReads, AnEmptyRepositoryHasNoHistoryNoBranchesAndNoMessages) {
    TempGitRepo repo;
    auto client = testing::liveClient(repo);
    EXPECT_EQ(client->history(repo.path(), 0, 100, none), std::vector<core::Commit>{});
    EXPECT_EQ(client->branches(repo.path(), none), std::vector<core::Branch>{});
    EXPECT_EQ(client->headMessage(repo.path(), none), std::nullopt);
    EXPECT_EQ(client->pendingMergeMessage(repo.path(), none), std::nullopt);
    EXPECT_EQ(client->remoteURL(repo.path(), "origin", none), std::nullopt);
    auto status = client->status(repo.path(), none);
    EXPECT_EQ(status.branch.head, "main");
    EXPECT_EQ(status.branch.objectID, std::nullopt);
    EXPECT_EQ(client->repositoryRoot(repo.path() + "/", none), repo.path());
    EXPECT_EQ(client->repositoryRoot(repo.root(), none), std::nullopt);
}

TEST(RepositoryClientReads, ListingsHistoryAndDiffsOfARealRepository) {
    TempGitRepo repo;
    repo.writeFile("a.txt", "one\n");
    repo.writeFile("a[1].txt", "bracket\n");
    repo.writeFile("a1.txt", "plain\n");
    const std::string first = repo.commitAll("First");
    repo.writeFile("a[1].txt", "bracket changed\n");
    repo.writeFile("a1.txt", "plain changed\n");
    const std::string second = repo.commitAll("Second\n\nWith a body.");
    repo.git({"tag", "light"});
    repo.git({"tag", "-a", "annotated", "-m", "note", first});
    repo.git({"branch", "feature", first});
    repo.writeFile("a.txt", "stashed\n");
    repo.git({"stash", "push", "-m", "tarv: keep this"});
    const std::string worktree = repo.root() + "/wt";
    repo.git({"worktree", "add", "-q", "-b", "side", worktree});

    auto client = testing::liveClient(repo);
    auto history = client->history(repo.path(), 0, 100, none);
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].sha, second);
    EXPECT_EQ(client->history(repo.path(), 1, 100, none).at(0).sha, first);
    EXPECT_EQ(client->headMessage(repo.path(), none), (core::CommitMessage{"Second", "With a body.", {}}));

    auto branches = client->branches(repo.path(), none);
    ASSERT_EQ(branches.size(), 3u);
    for (const auto& branch : branches) EXPECT_EQ(branch.isCurrent, branch.name == "main") << branch.name;

    auto tags = client->tags(repo.path(), none);
    ASSERT_EQ(tags.size(), 2u);
    for (const auto& tag : tags) EXPECT_EQ(tag.commit, tag.name == "light" ? second : first) << tag.name;

    auto stashes = client->stashes(repo.path(), none);
    ASSERT_EQ(stashes.size(), 1u);
    EXPECT_EQ(stashes[0].message, "keep this");
    EXPECT_EQ(stashes[0].branch, "main");

    auto worktrees = client->worktrees(repo.path(), none);
    ASSERT_EQ(worktrees.size(), 2u);
    EXPECT_TRUE(worktrees[0].isMain);
    EXPECT_EQ(worktrees[1].branch, "side");

    // The diff of one file in a commit names that file only, brackets and all.
    auto diff = client->diffOfCommit(second, "a[1].txt", repo.path(), none);
    ASSERT_EQ(diff.hunks.size(), 1u);
    std::vector<std::string> texts;
    for (const auto& line : diff.hunks[0].lines) texts.emplace_back(line.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"bracket", "bracket changed"}));
    EXPECT_EQ(client->files(second, repo.path(), none).size(), 2u);
}

TEST(RepositoryClientReads, StatusCarriesTheOperationInProgress) {
    TempGitRepo repo;
    repo.writeFile("f.txt", "base\n");
    repo.commitAll("Base");
    repo.git({"switch", "-q", "-c", "feature"});
    repo.writeFile("f.txt", "feature\n");
    repo.commitAll("Feature");
    repo.git({"switch", "-q", "main"});
    repo.writeFile("f.txt", "main\n");
    repo.commitAll("Main");
    repo.run({"merge", "feature"});

    auto client = testing::liveClient(repo);
    auto status = client->status(repo.path(), none);
    EXPECT_EQ(status.operation, core::RepositoryOperation::merge);
    EXPECT_EQ(paths(status.conflictedFiles()), std::vector<std::string>{"f.txt"});
    auto merge = client->pendingMergeMessage(repo.path(), none);
    ASSERT_TRUE(merge.has_value());
    EXPECT_NE(merge->find("Merge branch 'feature'"), std::string::npos);
}

// A commit is held inside the write queue (its git run waits at a gate):
// reads of the same repository finish meanwhile, and a second write waits
// for the first and then runs.
TEST(RepositoryClientConcurrency, ReadsGoOnWhileAWriteHoldsTheRepositoryAndWritesKeepTheirOrder) {
    TempGitRepo repo;
    repo.writeFile("a.txt", "one\n");
    const std::string first = repo.commitAll("First");
    repo.writeFile("a.txt", "two\n");

    auto gated = std::make_shared<GatedRunner>(std::make_shared<system::PosixProcessRunner>(),
                                               [](const core::ProcessSpec& spec) {
                                                   return spec.arguments.size() > 4 && spec.arguments[4] == "commit";
                                               });
    auto client = testing::liveClient(repo, gated);
    std::jthread committing([&] { client->commitIncluding(repo.path(), message("Second"), {"a.txt"}, none); });
    ASSERT_TRUE(eventually([&] { return gated->held() == 1; }));
    std::jthread tagging([&] { client->createTag(repo.path(), "after", "HEAD", none); });
    ASSERT_TRUE(eventually([&] { return client->writeQueue()->waiting(repo.path()) == 1; }));

    // Both writes are still pending, and reads answer at once.
    auto status = client->status(repo.path(), none);
    EXPECT_EQ(paths(status.files), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(client->history(repo.path(), 0, 100, none).size(), 1u);
    EXPECT_TRUE(client->tags(repo.path(), none).empty());

    gated->open();
    committing.join();
    tagging.join();
    auto tags = client->tags(repo.path(), none);
    ASSERT_EQ(tags.size(), 1u);
    EXPECT_EQ(tags[0].commit, repo.revParse("HEAD"));
    EXPECT_NE(tags[0].commit, first);
    EXPECT_FALSE(client->writeQueue()->knows(repo.path()));
}

// A write cancelled while it waits keeps its turn: its body runs when the
// turn comes, and its git command meets the cancellation in the runner.
TEST(RepositoryClientConcurrency, AWriteCancelledWhileWaitingRunsInItsTurnAndStopsAtItsGitCommand) {
    TempGitRepo repo;
    repo.writeFile("a.txt", "one\n");
    repo.commitAll("First");
    repo.writeFile("a.txt", "two\n");
    auto gated = std::make_shared<GatedRunner>(std::make_shared<system::PosixProcessRunner>(),
                                               [](const core::ProcessSpec& spec) {
                                                   return spec.arguments.size() > 4 && spec.arguments[4] == "commit";
                                               });
    auto client = testing::liveClient(repo, gated);
    std::jthread committing([&] { client->commitIncluding(repo.path(), message("Second"), {"a.txt"}, none); });
    ASSERT_TRUE(eventually([&] { return gated->held() == 1; }));

    std::stop_source cancel;
    std::exception_ptr tagFailure;
    std::jthread tagging([&, token = cancel.get_token()] {
        try {
            client->createTag(repo.path(), "cancelled", "HEAD", token);
        } catch (...) {
            tagFailure = std::current_exception();
        }
    });
    ASSERT_TRUE(eventually([&] { return client->writeQueue()->waiting(repo.path()) == 1; }));
    std::jthread branching([&] { client->createBranch(repo.path(), "after", std::nullopt, none); });
    ASSERT_TRUE(eventually([&] { return client->writeQueue()->waiting(repo.path()) == 2; }));
    cancel.request_stop();
    EXPECT_EQ(client->writeQueue()->waiting(repo.path()), 2u);

    gated->open();
    committing.join();
    tagging.join();
    branching.join();
    ASSERT_TRUE(tagFailure);
    EXPECT_THROW(std::rethrow_exception(tagFailure), core::ProcessError);
    EXPECT_TRUE(client->tags(repo.path(), none).empty());
    EXPECT_EQ(repo.revParse("after"), repo.revParse("main"));
    EXPECT_EQ(client->headMessage(repo.path(), none)->summary, "Second");
}

// Paging through the history replaces the listing of a commit's files key
// by key. A listing takes its turn after the one still running; one stopped
// before or while it waits leaves at once and starts no git, and a listing
// that fails gives the turn away like one that succeeds.
TEST(RepositoryClientConcurrency, ACommitListingStoppedBeforeItsTurnStartsNoGit) {
    TempGitRepo repo;
    repo.writeFile("a.txt", "one\n");
    const std::string first = repo.commitAll("First");
    repo.writeFile("b.txt", "two\n");
    const std::string second = repo.commitAll("Second");
    const auto filePaths = [](const std::vector<core::CommitFile>& files) {
        std::vector<std::string> result;
        for (const auto& file : files) result.push_back(file.path);
        return result;
    };

    auto gated = std::make_shared<GatedRunner>(std::make_shared<system::PosixProcessRunner>(),
                                               GatedRunner::argument(first));
    auto client = testing::liveClient(repo, gated);
    std::vector<core::CommitFile> firstFiles;
    std::jthread listing([&] { firstFiles = client->files(first, repo.path(), none); });
    ASSERT_TRUE(eventually([&] { return gated->held() == 2; }));  // --name-status and --numstat
    const int started = gated->started();

    std::stop_source early;
    early.request_stop();
    EXPECT_THROW(client->files(second, repo.path(), early.get_token()), core::ProcessError);

    std::stop_source late;
    std::exception_ptr failure;
    std::jthread waiting([&, token = late.get_token()] {
        try {
            client->files(second, repo.path(), token);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    ASSERT_TRUE(eventually([&] { return client->commitListings()->waiting() == 1; }));
    late.request_stop();
    waiting.join();  // while the first listing is still held at the gate
    ASSERT_TRUE(failure);
    EXPECT_THROW(std::rethrow_exception(failure), core::ProcessError);
    EXPECT_EQ(gated->started(), started);

    gated->open();
    listing.join();
    EXPECT_EQ(filePaths(firstFiles), std::vector<std::string>{"a.txt"});
    EXPECT_THROW(client->files(std::string(40, 'f'), repo.path(), none), core::GitError);
    EXPECT_EQ(filePaths(client->files(second, repo.path(), none)), std::vector<std::string>{"b.txt"});
    EXPECT_EQ(client->commitListings()->waiting(), 0u);
}

// Cancelling a write stops its running git process (here a hook that would
// sleep for a minute) and frees the repository for the next write.
TEST(RepositoryClientConcurrency, CancellationStopsTheRunningGitAndFreesTheQueue) {
    TempGitRepo repo;
    repo.writeFile("a.txt", "one\n");
    repo.commitAll("First");
    const std::string marker = repo.root() + "/hook-started";
    repo.writeFile(".git/hooks/pre-commit", "#!/bin/sh\ntouch '" + marker + "'\nexec sleep 60\n");
    ASSERT_EQ(::chmod((repo.path() + "/.git/hooks/pre-commit").c_str(), 0755), 0);
    repo.writeFile("a.txt", "two\n");

    auto client = testing::liveClient(repo);
    std::stop_source cancel;
    std::exception_ptr failure;
    const auto started = std::chrono::steady_clock::now();
    std::jthread committing([&] {
        try {
            client->commitIncluding(repo.path(), message("Second"), {"a.txt"}, cancel.get_token());
        } catch (...) {
            failure = std::current_exception();
        }
    });
    ASSERT_TRUE(eventually([&] { return ::access(marker.c_str(), F_OK) == 0; }));
    cancel.request_stop();
    committing.join();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
    ASSERT_TRUE(failure);
    EXPECT_THROW(std::rethrow_exception(failure), core::ProcessError);
    EXPECT_FALSE(client->writeQueue()->knows(repo.path()));

    repo.removeFile(".git/hooks/pre-commit");
    client->commitIncluding(repo.path(), message("Second"), {"a.txt"}, none);
    EXPECT_EQ(client->headMessage(repo.path(), none)->summary, "Second");
}

}  // namespace
}  // namespace tarv::engine
