// Working-tree and reference writes through the live client on real git.
#include <gtest/gtest.h>

#include <map>

#include "Support/TempGitRepo.hpp"
#include "TarvEngineTests/Service/RepositoryClientFixture.hpp"

namespace tarv::engine {
namespace {

using testing::refusal;
using tarv::testing::TempGitRepo;
const std::stop_token none;

core::CommitMessage message(std::string summary, std::string description = "") {
    return core::CommitMessage{std::move(summary), std::move(description), {}};
}

std::vector<std::string> paths(const std::vector<core::FileChange>& files) {
    std::vector<std::string> result;
    for (const auto& file : files) result.push_back(file.path);
    return result;
}

struct RepositoryClientWrites : ::testing::Test {
    TempGitRepo repo;
    std::shared_ptr<GitRepositoryClientLive> client = testing::liveClient(repo);
    const std::string& path = repo.path();

    std::string trimmedGit(const std::vector<std::string>& arguments) {
        std::string out = repo.git(arguments);
        while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
        return out;
    }
    std::string currentBranch() { return trimmedGit({"symbolic-ref", "--short", "HEAD"}); }
};

TEST_F(RepositoryClientWrites, CommitTakesOnlyTheSelectionAndAmendRewritesTheMessage) {
    repo.writeFile("a.txt", "a\n");
    repo.writeFile("b.txt", "b\n");
    EXPECT_EQ(refusal([&] { client->amend(path, message("Nothing yet"), {}, none); }),
              "No hay ningún commit que modificar");

    client->commitIncluding(path, message("Add a", "Only a."), {"a.txt"}, none);
    EXPECT_EQ(client->headMessage(path, none), message("Add a", "Only a."));
    EXPECT_EQ(paths(client->status(path, none).files), std::vector<std::string>{"b.txt"});

    const std::string tree = trimmedGit({"rev-parse", "HEAD^{tree}"});
    client->amend(path, message("Add the letter a"), {}, none);
    EXPECT_EQ(client->headMessage(path, none), message("Add the letter a"));
    EXPECT_EQ(trimmedGit({"rev-parse", "HEAD^{tree}"}), tree);
    EXPECT_EQ(client->history(path, 0, 100, none).size(), 1u);
}

TEST_F(RepositoryClientWrites, DiscardKeepsASnapshotThatBringsTheFilesBack) {
    repo.writeFile("kept.txt", "committed\n");
    repo.writeFile("old-name.txt", "moved\n");
    repo.commitAll("Base");
    repo.writeFile("kept.txt", "edited\n");
    repo.writeFile("new.txt", "untracked\n");
    repo.git({"mv", "old-name.txt", "new-name.txt"});

    auto files = client->status(path, none).files;
    ASSERT_EQ(files.size(), 3u);
    const std::string reference = client->discard(path, files, none);
    EXPECT_EQ(reference.rfind("refs/tarv/snapshots/", 0), 0u) << reference;
    EXPECT_TRUE(client->status(path, none).files.empty());
    EXPECT_EQ(repo.readFile("kept.txt"), "committed\n");
    EXPECT_FALSE(repo.exists("new.txt"));

    client->restoreSnapshot(path, reference, {"kept.txt", "new.txt", "new-name.txt", "old-name.txt"}, none);
    EXPECT_EQ(repo.readFile("kept.txt"), "edited\n");
    EXPECT_EQ(repo.readFile("new.txt"), "untracked\n");
    EXPECT_EQ(repo.readFile("new-name.txt"), "moved\n");
    EXPECT_FALSE(repo.exists("old-name.txt"));
}

TEST_F(RepositoryClientWrites, AFailedSnapshotDiscardsNothing) {
    repo.writeFile("a.txt", "committed\n");
    repo.commitAll("Base");
    repo.writeFile("a.txt", "edited\n");
    repo.writeFile("new.txt", "untracked\n");
    auto files = client->status(path, none).files;
    // A file where the snapshots' folder belongs: the snapshot's reference
    // cannot be written.
    repo.writeFile(".git/refs/tarv/snapshots", "in the way\n");
    EXPECT_THROW(client->discard(path, files, none), core::GitError);
    EXPECT_EQ(repo.readFile("a.txt"), "edited\n");
    EXPECT_EQ(repo.readFile("new.txt"), "untracked\n");
    EXPECT_FALSE(client->writeQueue()->knows(path));
}

TEST_F(RepositoryClientWrites, StashesRoundTripWithTheirMessage) {
    repo.writeFile("a.txt", "one\n");
    repo.commitAll("Base");
    EXPECT_EQ(refusal([&] { client->stash(path, "nothing", none); }), "No hay cambios que guardar");

    repo.writeFile("a.txt", "two\n");
    repo.writeFile("new.txt", "untracked\n");
    client->stash(path, "work in progress", none);
    EXPECT_TRUE(client->status(path, none).files.empty());
    auto stashes = client->stashes(path, none);
    ASSERT_EQ(stashes.size(), 1u);
    EXPECT_EQ(stashes[0].message, "work in progress");
    EXPECT_EQ(trimmedGit({"log", "-1", "--format=%gs", "-g", "refs/stash"}), "On main: tarv: work in progress");

    client->restoreStash(path, stashes[0].commit, none);
    EXPECT_EQ(repo.readFile("a.txt"), "two\n");
    EXPECT_EQ(repo.readFile("new.txt"), "untracked\n");
    EXPECT_TRUE(client->stashes(path, none).empty());

    client->stash(path, "again", none);
    client->dropStash(path, client->stashes(path, none).at(0).commit, none);
    EXPECT_TRUE(client->stashes(path, none).empty());
    EXPECT_FALSE(repo.exists("new.txt"));
}

TEST_F(RepositoryClientWrites, IgnoreAddsTheRuleAndStopsTrackingTheFile) {
    repo.writeFile("build.log", "old\n");
    repo.commitAll("Base");
    repo.writeFile("build.log", "new\n");
    client->ignore(path, core::FileChange{"build.log", std::nullopt, core::ChangeKind::modified, false, true}, none);
    EXPECT_NE(repo.readFile(".gitignore").find("build.log"), std::string::npos);
    EXPECT_EQ(repo.readFile("build.log"), "new\n");
    EXPECT_EQ(trimmedGit({"ls-files", "build.log"}), "");
}

TEST_F(RepositoryClientWrites, TagsAreAnnotatedAndDeletedWithABackup) {
    repo.writeFile("a.txt", "one\n");
    const std::string first = repo.commitAll("First");
    repo.commitAll("Second");
    client->createTag(path, "v1.0", first, none);
    EXPECT_EQ(trimmedGit({"cat-file", "-t", "v1.0"}), "tag");
    EXPECT_EQ(trimmedGit({"tag", "-l", "--format=%(contents:subject)", "v1.0"}), "v1.0");
    EXPECT_EQ(client->tags(path, none), (std::vector<core::Tag>{{"v1.0", first}}));

    client->deleteTag(path, "v1.0", none);
    EXPECT_TRUE(client->tags(path, none).empty());
    EXPECT_EQ(repo.revParse("refs/tarv/backups/tags/v1.0"), first);
    EXPECT_EQ(refusal([&] { client->deleteTag(path, "v1.0", none); }), "La etiqueta v1.0 no existe");
}

TEST_F(RepositoryClientWrites, BranchesAreCreatedRenamedSwitchedAndDeletedWithABackup) {
    repo.writeFile("a.txt", "one\n");
    const std::string first = repo.commitAll("First");
    const std::string second = repo.commitAll("Second");

    client->createBranch(path, "feature", std::nullopt, none);
    EXPECT_EQ(currentBranch(), "feature");
    client->createBranch(path, "older", first, none);
    EXPECT_EQ(currentBranch(), "older");
    EXPECT_EQ(repo.revParse("HEAD"), first);
    repo.commitAll("Only on older");

    client->renameBranch(path, "feature", "renamed", none);
    client->switchBranch(path, "renamed", none);
    EXPECT_EQ(currentBranch(), "renamed");
    EXPECT_EQ(refusal([&] { client->deleteBranch(path, "renamed", false, none); }),
              "No se puede eliminar la rama en la que estás");

    client->switchBranch(path, "main", none);
    client->deleteBranch(path, "renamed", false, none);
    EXPECT_EQ(repo.revParse("refs/tarv/backups/deleted/renamed"), second);
    // An unmerged branch needs the forced deletion.
    EXPECT_THROW(client->deleteBranch(path, "older", false, none), core::GitError);
    std::vector<std::string> names;
    for (const auto& branch : client->branches(path, none)) names.push_back(branch.name);
    EXPECT_EQ(names.size(), 2u);
}

TEST_F(RepositoryClientWrites, WorktreesAreAddedForNewAndExistingBranchesAndRemoved) {
    repo.writeFile("a.txt", "one\n");
    repo.commitAll("First");
    repo.git({"branch", "existing"});
    const std::string fresh = repo.root() + "/repo-fresh";
    const std::string reused = repo.root() + "/repo-existing";
    client->addWorktree(path, fresh, "fresh", none);
    client->addWorktree(path, reused, "existing", none);
    std::map<std::string, std::optional<std::string>> branches;
    for (const auto& worktree : client->worktrees(path, none)) branches[worktree.path] = worktree.branch;
    EXPECT_EQ(branches, (std::map<std::string, std::optional<std::string>>{
                            {path, "main"}, {fresh, "fresh"}, {reused, "existing"}}));

    client->removeWorktree(path, fresh, none);
    EXPECT_EQ(client->worktrees(path, none).size(), 2u);
}

}  // namespace
}  // namespace tarv::engine
