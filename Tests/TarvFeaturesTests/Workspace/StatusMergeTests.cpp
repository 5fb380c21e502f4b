// Merging a fresh status into the workspace: what the next commit includes,
// which file stays selected, how its diff reloads, the conflict reads, the
// queued refresh, the merge message and the reloads after HEAD moved.
#include <gtest/gtest.h>

#include "../Diff/DiffFixtures.hpp"
#include "Support/AppStoreHarness.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "WorkspaceFixtures.hpp"

namespace tarv::features {
namespace {

using namespace fixtures;
using tarv::testing::AppStoreHarness;
using K = core::DiffLine::Kind;

const WorkspaceState& ws(const AppStoreHarness& h) { return *h.state().workspace; }

TEST(StatusMergeTest, NewFilesAreIncludedAndExclusionsLastWhileTheFileStays) {
    struct Step {
        const char* name;
        std::optional<Paths> status;       // a status with these paths, or
        std::optional<std::string> toggle;  // the user toggles this path
        Paths included;
        Paths known;
    };
    const Step steps[] = {
        {"first status: every file is new", Paths{"a", "b"}, {}, {"a", "b"}, {"a", "b"}},
        {"the user excludes a", {}, "a", {"b"}, {"a", "b"}},
        {"a path the status does not list is not included", {}, "ghost", {"b"}, {"a", "b"}},
        {"a still changed: stays excluded", Paths{"b", "a"}, {}, {"b"}, {"a", "b"}},
        {"a committed away", Paths{"b"}, {}, {"b"}, {"b"}},
        {"a changes again: new, included", Paths{"a", "b", "c"}, {}, {"a", "b", "c"}, {"a", "b", "c"}},
        {"everything gone", Paths{}, {}, {}, {}},
    };
    AppStoreHarness h(withWorkspace());
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.status) h.send(AppAction(WorkspaceAction::StatusLoaded{statusOf(*step.status)}));
        if (step.toggle) h.send(AppAction(WorkspaceAction::ToggleInclude{*step.toggle}));
        EXPECT_EQ(sorted(ws(h).changes.included), step.included);
        EXPECT_EQ(sorted(ws(h).changes.knownPaths), step.known);
    }
}

TEST(StatusMergeTest, LineSelectionsOfFilesThatLeaveAreDropped) {
    AppState state = withWorkspace();
    auto& changes = state.workspace->changes;
    changes.knownPaths = {"a", "b"};
    changes.included = {"a", "b"};
    changes.partial["a"] = PartialFileSelection{{core::LineRef{0, 1}}, testing::threeHunks()};
    changes.partial["b"] = PartialFileSelection{{core::LineRef{0, 2}}, testing::threeHunks()};
    AppStoreHarness h(std::move(state));
    h.send(AppAction(WorkspaceAction::StatusLoaded{statusOf(Paths{"b"})}));
    EXPECT_EQ(ws(h).changes.partial.size(), 1u);
    EXPECT_TRUE(ws(h).changes.partial.contains("b"));
}

TEST(StatusMergeTest, TheSelectionFallsBackToTheFirstVisibleFile) {
    struct Case {
        const char* name;
        std::optional<std::string> selected;
        std::string filter;
        Paths files;
        std::optional<std::string> expected;
        std::optional<std::int64_t> listRow;
        Ids jobs;
    };
    const Case cases[] = {
        {"nothing selected yet", std::nullopt, "", {"a", "b"}, "a", 0, {"diff"}},
        {"the selected file stays", "b", "", {"a", "b"}, "b", 1, {"diff"}},
        {"the selected file left", "gone", "", {"a", "b"}, "a", 0, {"diff"}},
        {"the selected file is filtered out", "a", "b", {"a", "b"}, "b", 0, {"diff"}},
        {"every file filtered out", "a", "zzz", {"a", "b"}, std::nullopt, std::nullopt, {}},
        {"an empty status", "a", "", {}, std::nullopt, std::nullopt, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withWorkspace();
        auto& workspace = *state.workspace;
        workspace.splitDiff = true;
        workspace.changes.selectedPath = c.selected;
        workspace.changes.filter = core::EditableText(c.filter);
        if (c.selected) {
            workspace.changes.diff.path = c.selected;
            workspace.changes.diff.setDiff(testing::threeHunks());
        }
        AppStoreHarness h(std::move(state));
        h.send(AppAction(WorkspaceAction::StatusLoaded{statusOf(c.files)}));
        EXPECT_EQ(ws(h).changes.selectedPath, c.expected);
        EXPECT_EQ(ws(h).changes.list.selected, c.listRow);
        EXPECT_EQ(h.lastJobIds(), c.jobs);
        if (!c.expected) {
            EXPECT_TRUE(ws(h).changes.diff == DiffViewState(true)) << "an empty pane in the current layout";
        }
    }
}

TEST(StatusMergeTest, TheSameFileReloadsKeepingItsContentAnotherOneStartsEmpty) {
    AppState state = withWorkspace();
    auto& workspace = *state.workspace;
    workspace.changes.selectedPath = "a";
    workspace.changes.diff.path = "a";
    workspace.changes.diff.setDiff(testing::threeHunks());
    workspace.changes.diff.offset = 3;
    AppStoreHarness h(std::move(state));
    const core::Diff newer = testing::diffOf({{K::added}});
    h.fakes.repository->answers.diffs = {{"a", newer}, {"b", newer}};

    h.send(AppAction(WorkspaceAction::StatusLoaded{statusOf(Paths{"a", "b"})}));
    EXPECT_TRUE(ws(h).changes.diff.isLoading);
    EXPECT_EQ(ws(h).changes.diff.diff(), testing::threeHunks()) << "still on screen while it reloads";
    EXPECT_EQ(ws(h).changes.diff.offset, 3);
    h.runJob("diff");
    h.drain();
    EXPECT_EQ(ws(h).changes.diff.diff(), newer);
    EXPECT_FALSE(ws(h).changes.diff.isLoading);
    EXPECT_EQ(ws(h).changes.diff.offset, 0) << "clamped to the new rows";

    // "a" leaves: "b" is selected and its pane starts empty.
    h.send(AppAction(WorkspaceAction::StatusLoaded{statusOf(Paths{"b"})}));
    EXPECT_EQ(ws(h).changes.diff.path, "b");
    EXPECT_EQ(ws(h).changes.diff.diff(), std::nullopt);
    EXPECT_TRUE(ws(h).changes.diff.isLoading);
}

TEST(StatusMergeTest, EveryConflictedFileIsReadOnceAndStaleDocumentsGo) {
    AppState state = withWorkspace();
    state.workspace->changes.conflicts["resolved.txt"] = core::ConflictDocument::parse("x\n");
    state.workspace->changes.conflicts["a.txt"] = core::ConflictDocument::parse("old\n");
    AppStoreHarness h(std::move(state));
    h.fakes.files->put("/r/a.txt", "<<<<<<< HEAD\nmine\n=======\ntheirs\n>>>>>>> topic\n");
    h.fakes.files->put("/r/dir/b.txt", "plain\n");
    const auto status = statusOf({changed("a.txt", core::ChangeKind::conflicted), changed("m.txt"),
                                  changed("dir/b.txt", core::ChangeKind::conflicted)},
                                 core::RepositoryOperation::merge);
    h.send(AppAction(WorkspaceAction::StatusLoaded{status}));
    EXPECT_EQ(h.lastJobIds(), (Ids{"conflict-read-a.txt", "conflict-read-dir/b.txt", "diff", "mergeMessage"}));
    EXPECT_FALSE(ws(h).changes.conflicts.contains("resolved.txt"));

    h.runJob("conflict-read-a.txt");
    h.runJob("conflict-read-dir/b.txt");
    h.drain();
    EXPECT_EQ(h.fakes.files->calls("readFile"), (Paths{"readFile /r/a.txt", "readFile /r/dir/b.txt"}));
    ASSERT_TRUE(ws(h).changes.conflicts.contains("a.txt"));
    EXPECT_EQ(ws(h).changes.conflicts.at("a.txt").conflictCount(), 1);
    EXPECT_EQ(ws(h).changes.conflicts.at("dir/b.txt").conflictCount(), 0);

    // The same status again reads both again, once each.
    h.send(AppAction(WorkspaceAction::StatusLoaded{status}));
    EXPECT_EQ(h.lastJobIds(), (Ids{"conflict-read-a.txt", "conflict-read-dir/b.txt", "diff"}));
}

TEST(StatusMergeTest, AChangeDuringARefreshIsQueuedOnce) {
    AppStoreHarness h(withWorkspace());
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::FilesChanged{}), (Ids{"status"}));
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::FilesChanged{}), Ids{});
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::FilesChanged{}), Ids{});
    EXPECT_TRUE(ws(h).refreshQueued);

    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::StatusLoaded{statusOf(Paths{})}), (Ids{"status"}));
    EXPECT_TRUE(ws(h).isRefreshing);
    EXPECT_FALSE(ws(h).refreshQueued);
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::StatusLoaded{statusOf(Paths{})}), Ids{});
    EXPECT_FALSE(ws(h).isRefreshing);

    // A failed read does not restart a queued one; the next good one does.
    sendWorkspace(h, WorkspaceAction::FilesChanged{});
    sendWorkspace(h, WorkspaceAction::FilesChanged{});
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::StatusFailed{"boom"}), (Ids{"toast"}));
    EXPECT_TRUE(ws(h).refreshQueued);
    EXPECT_TRUE(h.state().toast->isError);
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::FilesChanged{}), (Ids{"status"}));
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::StatusLoaded{statusOf(Paths{})}), (Ids{"status"}));
}

TEST(StatusMergeTest, TheMergeMessageLoadsWhenAMergeBeginsAndTheSummaryIsNotTheUsers) {
    struct Case {
        const char* name;
        std::optional<core::RepositoryOperation> before;
        std::optional<core::RepositoryOperation> after;
        std::string summary;
        std::optional<std::string> autoSummary;
        bool loads;
    };
    using Op = core::RepositoryOperation;
    const Case cases[] = {
        {"a merge begins, empty summary", std::nullopt, Op::merge, "", std::nullopt, true},
        {"a merge begins after a rebase", Op::rebase, Op::merge, "", std::nullopt, true},
        {"the summary is the one we filled in", std::nullopt, Op::merge, "Merge x", "Merge x", true},
        {"the user typed a summary", std::nullopt, Op::merge, "mine", std::nullopt, false},
        {"the user changed our summary", std::nullopt, Op::merge, "mine", "Merge x", false},
        {"the same merge again", Op::merge, Op::merge, "", std::nullopt, false},
        {"a rebase begins", std::nullopt, Op::rebase, "", std::nullopt, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withWorkspace();
        state.workspace->status.operation = c.before;
        state.workspace->summary.setText(c.summary);
        state.workspace->autoSummary = c.autoSummary;
        AppStoreHarness h(std::move(state));
        const Ids jobs = sendWorkspace(h, WorkspaceAction::StatusLoaded{statusOf({}, c.after)});
        EXPECT_EQ(jobs == Ids{"mergeMessage"}, c.loads);
    }
}

TEST(StatusMergeTest, HistoryAndBranchesReloadWhenHeadMovesButNotOnTheFirstStatus) {
    auto statusAt = [](std::optional<std::string> head, std::optional<std::string> id) {
        core::WorkingTreeStatus status;
        status.branch.head = std::move(head);
        status.branch.objectID = std::move(id);
        return status;
    };
    AppStoreHarness h(withWorkspace());
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::StatusLoaded{statusAt("main", "1")}), Ids{});
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::StatusLoaded{statusAt("main", "1")}), Ids{});
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::StatusLoaded{statusAt("main", "2")}), (Ids{"history", "branches"}));
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::StatusLoaded{statusAt("topic", "2")}), (Ids{"history", "branches"}));
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::StatusLoaded{statusAt(std::nullopt, "2")}),
              (Ids{"history", "branches"}));
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::StatusLoaded{statusAt(std::nullopt, "2")}), Ids{});
}

}  // namespace
}  // namespace tarv::features
