#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "TarvFeatures/Workspace/WorkspaceState.hpp"

namespace tarv::features {
namespace {

using core::ChangeKind;
using core::RepositoryOperation;

core::FileChange file(std::string path, ChangeKind kind = ChangeKind::modified) {
    core::FileChange change;
    change.path = std::move(path);
    change.kind = kind;
    return change;
}

TEST(WorkspaceStateTests, FreshWorkspaceHasItsInitialValues) {
    const WorkspaceState workspace("/work/app", "app", std::string("git@example.com:me/app.git"));
    EXPECT_EQ(workspace.path, "/work/app");
    EXPECT_EQ(workspace.name, "app");
    EXPECT_EQ(workspace.remoteURL, "git@example.com:me/app.git");
    EXPECT_EQ(workspace.tab, WorkspaceState::Tab::changes);
    EXPECT_EQ(workspace.focus, WorkspaceState::Focus::files);
    EXPECT_EQ(workspace.status, core::WorkingTreeStatus{});
    EXPECT_FALSE(workspace.isStatusLoaded);
    EXPECT_FALSE(workspace.isRefreshing);
    EXPECT_FALSE(workspace.refreshQueued);
    EXPECT_EQ(workspace.changes, ChangesState{});

    EXPECT_TRUE(workspace.history.commits.empty());
    EXPECT_EQ(workspace.history.list, (core::ListScroll{0, std::nullopt}));
    EXPECT_TRUE(workspace.history.hasMore);
    EXPECT_FALSE(workspace.history.isLoading);
    EXPECT_TRUE(workspace.history.files.empty());
    EXPECT_EQ(workspace.history.filesList, (core::ListScroll{0, std::nullopt}));
    EXPECT_FALSE(workspace.history.isLoadingFiles);
    EXPECT_EQ(workspace.history.selectedFilePath, std::nullopt);
    EXPECT_EQ(workspace.history.diff, DiffViewState(false));

    EXPECT_TRUE(workspace.branches.empty());
    EXPECT_TRUE(workspace.stashes.empty());
    EXPECT_TRUE(workspace.tags.empty());
    EXPECT_EQ(workspace.autoSummary, std::nullopt);
    EXPECT_TRUE(workspace.summary.isEmpty());
    EXPECT_FALSE(workspace.summary.allowsNewlines());
    EXPECT_TRUE(workspace.description.isEmpty());
    EXPECT_TRUE(workspace.description.allowsNewlines());
    EXPECT_FALSE(workspace.isCommitting);
    EXPECT_FALSE(workspace.splitDiff);
    EXPECT_TRUE(workspace.coAuthors.empty());
    EXPECT_FALSE(workspace.isAmending);
    EXPECT_EQ(workspace.branchTarget, std::nullopt);
    EXPECT_EQ(workspace.sync, SyncState{});
    EXPECT_EQ(workspace.lastDiscard, std::nullopt);
    EXPECT_EQ(workspace.viewports, Viewports{});

    EXPECT_FALSE(workspace.canCommit());
    EXPECT_FALSE(workspace.canUndoCommit());
    EXPECT_EQ(workspace.currentBranch(), "HEAD");
    EXPECT_TRUE(workspace.hasRemote());
    EXPECT_EQ(workspace.includedCount(), 0);
    EXPECT_FALSE(workspace.hasUnresolvedConflicts());
}

TEST(WorkspaceStateTests, ViewportDefaults) {
    const Viewports viewports;
    EXPECT_EQ(viewports.fileList, 10);
    EXPECT_EQ(viewports.diff, 20);
    EXPECT_EQ(viewports.diffWidth, 80);
    EXPECT_EQ(viewports.historyList, 10);
    EXPECT_EQ(viewports.historyFiles, 5);
    EXPECT_EQ(viewports.picker, 8);
}

TEST(WorkspaceStateTests, CanCommit) {
    struct Row {
        const char* name;
        std::optional<RepositoryOperation> operation;
        const char* summary;
        bool included;  // a.txt is included
        bool conflicted;  // b.txt is conflicted
        bool amending;
        bool committing;
        bool expected;
    };
    const Row rows[] = {
        {"summary and an included file", std::nullopt, "Fix", true, false, false, false, true},
        {"empty summary", std::nullopt, "", true, false, false, false, false},
        {"blank summary with a file", std::nullopt, " \t ", true, false, false, false, false},
        {"blank summary without a file", std::nullopt, "  ", false, false, false, false, false},
        {"nothing included", std::nullopt, "Fix", false, false, false, false, false},
        {"amending needs no file", std::nullopt, "Fix", false, false, true, false, true},
        {"amending still needs a summary", std::nullopt, " ", false, false, true, false, false},
        {"while committing", std::nullopt, "Fix", true, false, false, true, false},
        {"conflicted file without an operation", std::nullopt, "Fix", true, true, false, false, true},
        {"merge with a conflict left", RepositoryOperation::merge, "Merge", true, true, false, false, false},
        {"merge resolved", RepositoryOperation::merge, "Merge", true, false, false, false, true},
        {"merge with an empty summary", RepositoryOperation::merge, "", true, false, false, false, false},
        {"rebase without conflicts, nothing typed", RepositoryOperation::rebase, "", false, false, false, false, true},
        {"rebase with a conflict left", RepositoryOperation::rebase, "Fix", true, true, false, false, false},
        {"rebase while committing", RepositoryOperation::rebase, "", false, false, false, true, false},
        {"cherry-pick without conflicts", RepositoryOperation::cherryPick, "", false, false, false, false, true},
        {"revert with a conflict left", RepositoryOperation::revert, "", false, true, false, false, false},
    };
    for (const auto& row : rows) {
        WorkspaceState workspace("/r", "r", std::nullopt);
        workspace.status.operation = row.operation;
        workspace.status.files = {file("a.txt")};
        if (row.conflicted) workspace.status.files.push_back(file("b.txt", ChangeKind::conflicted));
        workspace.changes.knownPaths = {"a.txt", "b.txt"};
        if (row.included) workspace.changes.included = {"a.txt"};
        workspace.summary.setText(row.summary);
        workspace.isAmending = row.amending;
        workspace.isCommitting = row.committing;
        EXPECT_EQ(workspace.canCommit(), row.expected) << row.name;
    }
}

TEST(WorkspaceStateTests, CanUndoCommitOnlyWhatWasNotPushed) {
    struct Row {
        const char* name;
        std::optional<std::string> objectID;
        std::optional<std::string> upstream;
        std::int64_t ahead;
        bool expected;
    };
    const Row rows[] = {
        {"no commit yet", std::nullopt, std::nullopt, 0, false},
        {"no upstream", "abc", std::nullopt, 0, true},
        {"upstream, ahead", "abc", "origin/main", 2, true},
        {"upstream, up to date", "abc", "origin/main", 0, false},
        {"no commit but ahead", std::nullopt, "origin/main", 1, false},
    };
    for (const auto& row : rows) {
        WorkspaceState workspace("/r", "r", std::nullopt);
        workspace.status.branch.objectID = row.objectID;
        workspace.status.branch.upstream = row.upstream;
        workspace.status.branch.ahead = row.ahead;
        EXPECT_EQ(workspace.canUndoCommit(), row.expected) << row.name;
    }
}

TEST(WorkspaceStateTests, CurrentBranchAndRemote) {
    WorkspaceState workspace("/r", "r", std::nullopt);
    EXPECT_FALSE(workspace.hasRemote());
    workspace.status.branch.head = "feature/x";
    EXPECT_EQ(workspace.currentBranch(), "feature/x");
}

TEST(WorkspaceStateTests, SyncContextComesFromTheStatusAndTheSyncState) {
    WorkspaceState workspace("/r", "r", std::string("https://example.com/me/r.git"));
    workspace.status.branch.upstream = "origin/main";
    workspace.status.branch.ahead = 3;
    workspace.status.branch.behind = 1;
    workspace.sync.lastFetched = 1'700'000'000;

    core::SyncContext expected;
    expected.hasRemote = true;
    expected.hasUpstream = true;
    expected.ahead = 3;
    expected.behind = 1;
    expected.lastFetched = 1'700'000'000;
    expected.now = 0;
    expected.remoteName = "origin";
    EXPECT_EQ(workspace.syncContext(), expected);

    const WorkspaceState bare("/b", "b", std::nullopt);
    EXPECT_EQ(bare.syncContext(), core::SyncContext{});
}

TEST(WorkspaceStateTests, IncludedCountAndUnresolvedConflicts) {
    WorkspaceState workspace("/r", "r", std::nullopt);
    workspace.status.files = {file("a"), file("b"), file("c", ChangeKind::conflicted)};
    workspace.changes.knownPaths = {"a", "b", "c"};
    workspace.changes.included = {"a", "c"};
    EXPECT_EQ(workspace.includedCount(), 2);

    EXPECT_FALSE(workspace.hasUnresolvedConflicts()) << "a conflicted file without an operation";
    workspace.status.operation = RepositoryOperation::merge;
    EXPECT_TRUE(workspace.hasUnresolvedConflicts());
    workspace.status.files.pop_back();
    EXPECT_FALSE(workspace.hasUnresolvedConflicts()) << "an operation without conflicted files";
}

TEST(WorkspaceStateTests, CopiesAndComparesFieldWise) {
    WorkspaceState workspace("/r", "r", std::nullopt);
    workspace.summary.setText("Fix");
    workspace.changes.included = {"a"};
    WorkspaceState copy = workspace;
    EXPECT_EQ(copy, workspace);
    copy.lastDiscard = DiscardRecord{"refs/tarv/snapshots/1", {"a"}};
    EXPECT_NE(copy, workspace);
    WorkspaceState moved = std::move(copy);
    EXPECT_EQ(moved.lastDiscard, (DiscardRecord{"refs/tarv/snapshots/1", {"a"}}));
}

}  // namespace
}  // namespace tarv::features
