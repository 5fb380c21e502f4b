// The Changes flow through the store: selecting files and the stale diffs
// it drops, committing and amending, discarding and undoing (never twice,
// never a commit by accident, never losing the record of a failed restore),
// and ignoring a file.
#include <gtest/gtest.h>

#include <atomic>

#include "../Diff/DiffFixtures.hpp"
#include "../Workspace/WorkspaceFixtures.hpp"
#include "Support/AppStoreHarness.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Errors/RemoteFailure.hpp"
#include "TarvCore/Errors/UnfinishedDiscard.hpp"
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {
namespace {

using namespace fixtures;
using tarv::testing::AppStoreHarness;
using K = core::DiffLine::Kind;

const WorkspaceState& ws(const AppStoreHarness& h) { return *h.state().workspace; }

// A workspace whose status holds these files (all of them included).
AppState withFiles(std::vector<core::FileChange> files) {
    AppState state = withWorkspace();
    auto& workspace = *state.workspace;
    for (const auto& file : files) {
        workspace.changes.knownPaths.insert(file.path);
        workspace.changes.included.insert(file.path);
    }
    workspace.status.files = std::move(files);
    workspace.isStatusLoaded = true;
    return state;
}

core::Text overlayBody(const AppStoreHarness& h) {
    const auto* message = std::get_if<Overlay::Message>(&h.state().overlay->value);
    return message ? message->body : core::Text::raw("(no message overlay)");
}

core::Text overlayTitle(const AppStoreHarness& h) {
    const auto* message = std::get_if<Overlay::Message>(&h.state().overlay->value);
    return message ? message->title : core::Text::raw("(no message overlay)");
}

// Records whether each write was handed a token that can ever stop.
class StopWatchingRepository final : public tarv::testing::FakeRepository {
public:
    std::atomic<int> stoppableWrites = 0;

    std::string discard(const std::string& r, const std::vector<core::FileChange>& f, std::stop_token s) override {
        note(s);
        return FakeRepository::discard(r, f, s);
    }
    core::SnapshotRestore restoreSnapshot(const std::string& r, const std::string& ref,
                                          const std::vector<std::string>& p, std::stop_token s) override {
        note(s);
        return FakeRepository::restoreSnapshot(r, ref, p, s);
    }
    void ignore(const std::string& r, const core::FileChange& f, std::stop_token s) override {
        note(s);
        FakeRepository::ignore(r, f, s);
    }
    void commit(const std::string& r, const core::CommitMessage& m, const core::CommitSelection& c,
                std::stop_token s) override {
        note(s);
        FakeRepository::commit(r, m, c, s);
    }

private:
    void note(const std::stop_token& stop) {
        if (stop.stop_possible()) ++stoppableWrites;
    }
};

TEST(SelectFileTest, SelectsAStatusFileAndLoadsWhatItShows) {
    struct Case {
        const char* name;
        std::string path;
        std::optional<std::string> selected;
        Ids jobs;
    };
    const Case cases[] = {
        {"a modified file", "b", "b", {"diff"}},
        {"a conflicted file", "c", "c", {"diff", "conflict-read-c"}},
        {"a path the status does not list", "nope", "a", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withFiles({changed("a"), changed("b"), changed("c", core::ChangeKind::conflicted)});
        auto& workspace = *state.workspace;
        workspace.changes.selectedPath = "a";
        workspace.focus = WorkspaceFocus::summary;
        workspace.changes.conflictCursor = 2;
        workspace.changes.conflictOffset = 9;
        AppStoreHarness h(std::move(state));
        EXPECT_EQ(sendWorkspace(h, WorkspaceAction::SelectFile{c.path}), c.jobs);
        EXPECT_EQ(ws(h).changes.selectedPath, c.selected);
        const bool moved = !c.jobs.empty();
        EXPECT_EQ(ws(h).focus, moved ? WorkspaceFocus::files : WorkspaceFocus::summary);
        EXPECT_EQ(ws(h).changes.conflictCursor, moved ? 0 : 2);
        EXPECT_EQ(ws(h).changes.diff.path, moved ? std::optional<std::string>(c.path) : std::nullopt);
    }
}

TEST(MoveFileSelectionTest, StepsThroughTheVisibleFiles) {
    struct Case {
        const char* name;
        std::optional<std::string> selected;
        std::string filter;
        std::int64_t by;
        std::optional<std::string> expected;
        bool loads;
    };
    const Case cases[] = {
        {"down from nothing: the first", std::nullopt, "", 1, "a", true},
        {"up from nothing: the last", std::nullopt, "", -1, "c", true},
        {"zero from nothing: the last", std::nullopt, "", 0, "c", true},
        {"down", "a", "", 1, "b", true},
        {"past the end", "c", "", 1, "c", false},
        {"past the start", "a", "", -1, "a", false},
        {"a long step stops at the end", "a", "", 5, "c", true},
        {"the selected file is filtered out", "a", "c", 1, "c", true},
        {"nothing visible", "a", "zzz", 1, "a", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withFiles({changed("a"), changed("b"), changed("c")});
        state.workspace->changes.selectedPath = c.selected;
        state.workspace->changes.filter = core::EditableText(c.filter);
        AppStoreHarness h(std::move(state));
        EXPECT_EQ(sendWorkspace(h, WorkspaceAction::MoveFileSelection{c.by}), c.loads ? Ids{"diff"} : Ids{});
        EXPECT_EQ(ws(h).changes.selectedPath, c.expected);
    }
}

TEST(StaleResultTest, ResultsForAFileOrCommitNoLongerShownAreDropped) {
    AppState state = withFiles({changed("a"), changed("b")});
    auto& history = state.workspace->history;
    history.commits = commitsFrom(0, 2);
    history.list.selected = 1;
    history.selectedFilePath = "f";
    AppStoreHarness h(std::move(state));
    const core::Diff diff = testing::threeHunks();
    h.fakes.repository->answers.diffs = {{"a", diff}, {"b", diff}};

    sendWorkspace(h, WorkspaceAction::SelectFile{"a"});
    sendWorkspace(h, WorkspaceAction::SelectFile{"b"});
    const auto diffJobs = h.jobsWithID("diff");
    ASSERT_EQ(diffJobs.size(), 2u);
    EXPECT_TRUE(h.executor().isStopRequested(diffJobs[0]));
    h.executor().runJob(diffJobs[0]);
    EXPECT_EQ(h.drain(), 1u) << "only the job's end: a cancelled diff read sends nothing";

    h.send(AppAction(WorkspaceAction::DiffLoaded{"a", diff}));
    h.send(AppAction(WorkspaceAction::DiffFailed{"a", "late failure"}));
    EXPECT_EQ(ws(h).changes.diff.diff(), std::nullopt);
    EXPECT_EQ(ws(h).changes.diff.error, std::nullopt);
    EXPECT_TRUE(ws(h).changes.diff.isLoading);

    h.send(AppAction(WorkspaceAction::CommitDiffLoaded{"c0", "f", diff}));
    h.send(AppAction(WorkspaceAction::CommitDiffLoaded{"c1", "other", diff}));
    h.send(AppAction(WorkspaceAction::CommitDiffFailed{"c0", "f", "late failure"}));
    EXPECT_EQ(ws(h).history.diff.diff(), std::nullopt);
    EXPECT_EQ(ws(h).history.diff.error, std::nullopt);
    h.send(AppAction(WorkspaceAction::CommitDiffLoaded{"c1", "f", diff}));
    EXPECT_EQ(ws(h).history.diff.diff(), diff);
}

TEST(StaleResultTest, LinesChosenOnAnOlderDiffAreCarriedOverOrTheFileLeavesTheCommit) {
    using testing::hunkOf;
    // The middle hunk of three is chosen.
    const core::Diff old{false, {hunkOf(2, {" a", "+b", " c"}), hunkOf(20, {" k", "+l", " m"}),
                                 hunkOf(40, {" x", "+y", " z"})}};
    struct Case {
        const char* name;
        core::Diff loaded;
        // The partial lines afterwards; none when the file left the commit.
        std::optional<std::set<core::LineRef>> lines;
        std::vector<std::string> jobs;
    };
    const Case cases[] = {
        {"the same diff", old, std::set<core::LineRef>{{1, 1}}, {}},
        {"a line typed in the first hunk",
         core::Diff{false, {hunkOf(2, {" a", "+b", "+typed", " c"}), hunkOf(20, {" k", "+l", " m"}),
                            hunkOf(40, {" x", "+y", " z"})}},
         std::set<core::LineRef>{{1, 1}}, {}},
        {"the other hunks reverted: still only the chosen line",
         core::Diff{false, {hunkOf(20, {" k", "+l", " m"})}}, std::set<core::LineRef>{{0, 1}}, {}},
        {"the chosen line was edited",
         core::Diff{false, {hunkOf(2, {" a", "+b", " c"}), hunkOf(20, {" k", "+L", " m"}),
                            hunkOf(40, {" x", "+y", " z"})}},
         std::nullopt, {"toast"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withFiles({changed("a")});
        auto& changes = state.workspace->changes;
        changes.selectedPath = "a";
        changes.diff.path = "a";
        changes.partial["a"] = PartialFileSelection{{core::LineRef{1, 1}}, old};
        AppStoreHarness h(std::move(state));
        h.send(AppAction(WorkspaceAction::DiffLoaded{"a", c.loaded}));
        const auto& after = ws(h).changes;
        EXPECT_EQ(h.lastJobIds(), c.jobs);
        EXPECT_EQ(after.included.contains("a"), c.lines.has_value());
        if (c.lines) {
            ASSERT_TRUE(after.partial.contains("a"));
            EXPECT_EQ(after.partial.at("a"), (PartialFileSelection{*c.lines, c.loaded}));
        } else {
            EXPECT_FALSE(after.partial.contains("a"));
            EXPECT_EQ(h.state().toast->text, core::Text::lineSelectionDropped());
            EXPECT_TRUE(h.state().toast->isError);
        }
        EXPECT_EQ(after.diff.diff(), c.loaded);
    }
}

TEST(CommitTest, NothingStartsWhileACommitIsNotPossible) {
    struct Case {
        const char* name;
        std::string summary;
        bool included;
        bool committing;
    };
    const Case cases[] = {
        {"blank summary", "   ", true, false},
        {"nothing included", "fix", false, false},
        {"a commit already runs", "fix", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withFiles({changed("a")});
        state.workspace->summary.setText(c.summary);
        if (!c.included) state.workspace->changes.included.clear();
        state.workspace->isCommitting = c.committing;
        AppStoreHarness h(std::move(state));
        EXPECT_EQ(sendWorkspace(h, WorkspaceAction::Commit{}), Ids{});
        EXPECT_EQ(ws(h).isCommitting, c.committing);
    }
}

TEST(CommitTest, CommitsTheSelectionAndResetsTheCommitBox) {
    struct Case {
        const char* name;
        bool amending;
        std::string call;
        core::Text toast;
    };
    const Case cases[] = {
        {"commit", false, "commit /r  fix it  a,b(partial)", core::Text::toastCommitted("fix it")},
        {"amend", true, "amend /r  fix it  a,b(partial)", core::Text::toastAmended("fix it")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withFiles({changed("a"), changed("b"), changed("excluded")});
        auto& workspace = *state.workspace;
        workspace.changes.included.erase("excluded");
        workspace.changes.partial["b"] = PartialFileSelection{{core::LineRef{0, 1}}, testing::threeHunks()};
        workspace.summary.setText(" fix it ");
        workspace.description.setText("why");
        workspace.coAuthors = {core::CoAuthor{"Ann", "ann@example.com"}};
        workspace.isAmending = c.amending;
        workspace.autoSummary = "fix it";
        workspace.focus = WorkspaceFocus::summary;
        AppStoreHarness h(std::move(state));
        EXPECT_EQ(sendWorkspace(h, WorkspaceAction::Commit{}), (Ids{"commit"}));
        EXPECT_TRUE(ws(h).isCommitting);
        h.runJob("commit");
        h.drain();
        EXPECT_EQ(h.fakes.repository->calls(), (Paths{c.call}));
        EXPECT_EQ(h.lastJobIds(), (Ids{"toast", "status", "history", "branches"}));
        EXPECT_EQ(h.state().toast->text, c.toast);
        const auto& after = ws(h);
        EXPECT_FALSE(after.isCommitting);
        EXPECT_FALSE(after.isAmending);
        EXPECT_TRUE(after.summary.isEmpty());
        EXPECT_TRUE(after.description.isEmpty());
        EXPECT_TRUE(after.description.allowsNewlines());
        EXPECT_TRUE(after.coAuthors.empty());
        EXPECT_EQ(after.autoSummary, std::nullopt);
        EXPECT_EQ(after.focus, WorkspaceFocus::files);
        EXPECT_EQ(after.tab, WorkspaceTab::changes);
        EXPECT_TRUE(after.isRefreshing);
        // What is left of b was left out by choice: it stays out.
        EXPECT_TRUE(after.changes.partial.empty());
        EXPECT_EQ(after.changes.included, (std::set<std::string>{"a"}));
    }
}

TEST(CommitTest, AFailureClearsTheFlagAndKeepsAClassifiedReason) {
    struct Case {
        const char* name;
        std::exception_ptr error;
        core::Text body;
    };
    const Case cases[] = {
        {"classified", std::make_exception_ptr(core::RemoteFailure::authenticationFailed()),
         core::Text::remoteFailure(core::RemoteFailure::authenticationFailed())},
        {"git's own words", std::make_exception_ptr(core::GitError::commandFailed("git commit", 1, "hook said no")),
         core::Text::raw("hook said no")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withFiles({changed("a")});
        state.workspace->summary.setText("fix");
        AppStoreHarness h(std::move(state));
        h.fakes.repository->failWith("commit", c.error);
        sendWorkspace(h, WorkspaceAction::Commit{});
        h.settle();
        EXPECT_FALSE(ws(h).isCommitting);
        ASSERT_TRUE(h.state().overlay);
        EXPECT_EQ(std::get<Overlay::Message>(h.state().overlay->value).title, core::Text::commitFailedTitle());
        EXPECT_EQ(overlayBody(h), c.body);
        EXPECT_EQ(ws(h).summary.text(), "fix") << "the message stays for another try";
    }
}

TEST(DiscardTest, RecordsEveryPathItTouchedAndReloads) {
    AppState state = withFiles({changed("a")});
    AppStoreHarness h(std::move(state));
    auto moved = changed("new.txt", core::ChangeKind::renamed);
    moved.originalPath = "old.txt";
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::DiscardConfirmed{{changed("a"), moved}}), (Ids{"discard"}));
    h.runJob("discard");
    h.drain();
    EXPECT_EQ(h.fakes.repository->calls(), (Paths{"discard /r a,new.txt"}));
    EXPECT_EQ(ws(h).lastDiscard, (DiscardRecord{"refs/tarv/snapshots/1", {"a", "new.txt", "old.txt"}}));
    EXPECT_EQ(h.lastJobIds(), (Ids{"toast", "status"}));
    EXPECT_EQ(h.state().toast->text, core::Text::toastDiscarded());
}

// A discard that failed once its snapshot existed keeps the snapshot for
// undo (and reloads the list, since part of it may be gone); one that failed
// before keeps nothing, and undo then goes to the commit.
TEST(DiscardTest, AFailureAfterTheSnapshotKeepsItForUndo) {
    const auto broken = core::GitError::commandFailed("git checkout-index", 128, "unable to read a");
    struct Case {
        const char* name;
        std::exception_ptr failure;
        std::optional<DiscardRecord> record;
        Ids jobs;
        Paths undoCalls;
    };
    const Case cases[] = {
        {"half-way", std::make_exception_ptr(core::UnfinishedDiscard("refs/s/9", std::make_exception_ptr(broken))),
         DiscardRecord{"refs/s/9", {"a", "u"}}, {"status"}, {"restoreSnapshot /r refs/s/9 a,u"}},
        {"before the snapshot", std::make_exception_ptr(broken), std::nullopt, {}, {"undoLastCommit /r"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withFiles({changed("a"), changed("u", core::ChangeKind::untracked)});
        state.workspace->status.branch.objectID = "1";
        AppStoreHarness h(std::move(state));
        h.fakes.repository->failWith("discard", c.failure);
        sendWorkspace(h, WorkspaceAction::DiscardConfirmed{ws(h).status.files});
        h.runJob("discard");
        h.drain();
        EXPECT_EQ(ws(h).lastDiscard, c.record);
        EXPECT_EQ(overlayBody(h), core::Text::raw("unable to read a"));
        EXPECT_EQ(h.lastJobIds(), c.jobs);
        sendWorkspace(h, WorkspaceAction::Undo{});
        h.runJob("undo");
        Paths undone = h.fakes.repository->calls("restoreSnapshot");
        for (const auto& call : h.fakes.repository->calls("undoLastCommit")) undone.push_back(call);
        EXPECT_EQ(undone, c.undoCalls);
    }
}

// A submodule's changes are inside it: a discard of submodules alone says
// so and runs nothing; beside other files, only those are discarded.
TEST(DiscardTest, SubmodulesAreLeftOut) {
    auto submodule = changed("sub");
    submodule.isSubmodule = true;
    AppStoreHarness h(withFiles({changed("a"), submodule}));
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::DiscardConfirmed{{submodule}}), Ids{});
    EXPECT_EQ(overlayBody(h), core::Text::discardSubmodule());
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::DiscardConfirmed{{submodule, changed("a")}}), (Ids{"discard"}));
    h.runJob("discard");
    EXPECT_EQ(h.fakes.repository->calls(), (Paths{"discard /r a"}));
    h.drain();
    // The toast says the submodule stayed as it was, not that all changes went.
    ASSERT_TRUE(h.state().toast.has_value());
    EXPECT_EQ(h.state().toast->text, core::Text::toastDiscardedSubmodulesKept());
}

TEST(DiscardTest, ASecondDiscardNeverStopsTheFirstAndBothAreReduced) {
    tarv::testing::FakePorts fakes;
    auto repository = std::make_shared<StopWatchingRepository>();
    Dependencies dependencies = fakes.dependencies();
    dependencies.repository = repository;
    AppStoreHarness h(std::move(fakes), dependencies, withFiles({changed("a"), changed("b")}));

    sendWorkspace(h, WorkspaceAction::DiscardConfirmed{{changed("a")}});
    sendWorkspace(h, WorkspaceAction::DiscardConfirmed{{changed("b")}});
    const auto jobs = h.jobsWithID("discard");
    ASSERT_EQ(jobs.size(), 2u);
    ASSERT_FALSE(h.executor().isStopRequested(jobs[0])) << "the store stopped a write it replaced";
    h.settle();
    EXPECT_EQ(repository->calls("discard"), (Paths{"discard /r a", "discard /r b"}));
    EXPECT_EQ(repository->stoppableWrites, 0);
    const auto actions = h.reducedActions();
    EXPECT_EQ(std::count(actions.begin(), actions.end(),
                         AppAction(WorkspaceAction::Discarded{DiscardRecord{"refs/tarv/snapshots/1", {"a"}}})),
              1);
    EXPECT_EQ(ws(h).lastDiscard, (DiscardRecord{"refs/tarv/snapshots/1", {"b"}}));
}

TEST(UndoTest, ChoosesTheDiscardFirstThenAnUnpushedCommit) {
    struct Case {
        const char* name;
        bool discardRecorded;
        std::optional<std::string> head;
        std::optional<std::string> upstream;
        std::int64_t ahead;
        Ids jobs;
        std::optional<core::Text> toast;
        Paths calls;
    };
    const Case cases[] = {
        {"the last discard, whatever the branch", true, "1", "origin/main", 0, {"undo"}, std::nullopt,
         {"restoreSnapshot /r refs/s/1 a,b"}},
        {"no commit yet", false, std::nullopt, std::nullopt, 0, {"toast"}, core::Text::toastNothingToUndo(), {}},
        {"already pushed", false, "1", "origin/main", 0, {"toast"}, core::Text::toastUndoNotAllowed(), {}},
        {"ahead of the upstream", false, "1", "origin/main", 2, {"undo"}, std::nullopt, {"undoLastCommit /r"}},
        {"no upstream at all", false, "1", std::nullopt, 0, {"undo"}, std::nullopt, {"undoLastCommit /r"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withWorkspace();
        auto& workspace = *state.workspace;
        if (c.discardRecorded) workspace.lastDiscard = DiscardRecord{"refs/s/1", {"a", "b"}};
        workspace.status.branch.objectID = c.head;
        workspace.status.branch.upstream = c.upstream;
        workspace.status.branch.ahead = c.ahead;
        AppStoreHarness h(std::move(state));
        EXPECT_EQ(sendWorkspace(h, WorkspaceAction::Undo{}), c.jobs);
        if (c.toast) {
            EXPECT_EQ(h.state().toast->text, *c.toast);
        }
        h.runJob("undo");
        EXPECT_EQ(h.fakes.repository->calls(), c.calls);
    }
}

TEST(UndoTest, AnUndoneCommitRefillsTheCommitBox) {
    AppState state = withWorkspace();
    state.workspace->status.branch.objectID = "1";
    state.workspace->tab = WorkspaceTab::history;
    state.workspace->focus = WorkspaceFocus::historyList;
    AppStoreHarness h(std::move(state));
    h.fakes.repository->answers.undoneMessage = core::CommitMessage{"the summary", "the body"};
    sendWorkspace(h, WorkspaceAction::Undo{});
    h.runJob("undo");
    h.drain();
    EXPECT_EQ(h.lastJobIds(), (Ids{"toast", "status", "history"}));
    EXPECT_EQ(ws(h).summary.text(), "the summary");
    EXPECT_EQ(ws(h).description.text(), "the body");
    EXPECT_EQ(ws(h).tab, WorkspaceTab::changes);
    EXPECT_EQ(ws(h).focus, WorkspaceFocus::files);
    EXPECT_FALSE(ws(h).isUndoing);
}

// A quick double press: the running restore is not replaced, the discard
// is restored once, and the second press does not fall through to the
// commit (the record was already consumed when it came).
TEST(UndoTest, ASecondUndoWhileOneRunsIsRefused) {
    tarv::testing::FakePorts fakes;
    auto repository = std::make_shared<StopWatchingRepository>();
    Dependencies dependencies = fakes.dependencies();
    dependencies.repository = repository;
    AppState state = withWorkspace();
    state.workspace->lastDiscard = DiscardRecord{"refs/s/1", {"a"}};
    state.workspace->status.branch.objectID = "1";
    AppStoreHarness h(std::move(fakes), dependencies, std::move(state));
    repository->answers.status.branch.objectID = "1";

    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::Undo{}), (Ids{"undo"}));
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::Undo{}), Ids{});
    h.settle();
    EXPECT_EQ(repository->calls("restoreSnapshot"), (Paths{"restoreSnapshot /r refs/s/1 a"}));
    EXPECT_EQ(repository->stoppableWrites, 0);
    EXPECT_EQ(ws(h).lastDiscard, std::nullopt);
    EXPECT_FALSE(ws(h).isUndoing);

    // Once it reported, the next undo is the commit's.
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::Undo{}), (Ids{"undo"}));
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::Undo{}), Ids{});
    h.settle();
    EXPECT_EQ(repository->calls("undoLastCommit"), (Paths{"undoLastCommit /r"}));
}

TEST(UndoTest, AFailedRestoreKeepsTheRecordForAnotherTry) {
    AppState state = withWorkspace();
    state.workspace->lastDiscard = DiscardRecord{"refs/s/1", {"a"}};
    AppStoreHarness h(std::move(state));
    h.fakes.repository->fail("restoreSnapshot", core::GitError::commandFailed("git restore", 1, "locked"));
    sendWorkspace(h, WorkspaceAction::Undo{});
    EXPECT_EQ(ws(h).lastDiscard, std::nullopt) << "consumed while the restore runs";
    h.settle();
    EXPECT_EQ(ws(h).lastDiscard, (DiscardRecord{"refs/s/1", {"a"}}));
    EXPECT_EQ(overlayTitle(h), core::Text::undoUnfinished()) << "u finishes it";
    EXPECT_EQ(overlayBody(h), core::Text::raw("locked"));
    EXPECT_FALSE(ws(h).isUndoing);

    h.fakes.repository->succeed("restoreSnapshot");
    sendWorkspace(h, WorkspaceAction::Undo{});
    settleKeepingToast(h);
    EXPECT_EQ(h.fakes.repository->calls("restoreSnapshot").size(), 2u);
    EXPECT_EQ(ws(h).lastDiscard, std::nullopt);
    EXPECT_EQ(h.state().toast->text, core::Text::toastRestored());
}

// An undo that first kept edits made after the discard says so, with the
// recovery point and the paths (the first ten), instead of the plain toast.
TEST(UndoTest, KeptLaterEditsAreShownWithTheirRecoveryPoint) {
    AppState state = withWorkspace();
    state.workspace->lastDiscard = DiscardRecord{"refs/s/1", {"a"}};
    AppStoreHarness h(std::move(state));
    core::SnapshotRestore outcome{"refs/tarv/snapshots/9-abcdef0", {}};
    for (int i = 0; i < 11; ++i) outcome.editedPaths.push_back("f" + std::to_string(i));
    h.fakes.repository->answers.snapshotRestore = outcome;
    sendWorkspace(h, WorkspaceAction::Undo{});
    h.runJob("undo");
    h.drain();
    EXPECT_EQ(overlayTitle(h), core::Text::undoKeptEditsTitle());
    EXPECT_EQ(overlayBody(h), core::Text::raw(core::Text::undoKeptEditsBody().english() +
                                              "\n\nrefs/tarv/snapshots/9-abcdef0\n\nf0\nf1\nf2\nf3\nf4\nf5\nf6\nf7\nf8\nf9\n…"));
    EXPECT_EQ(h.lastJobIds(), (Ids{"status"}));
    EXPECT_FALSE(ws(h).isUndoing);
}

TEST(UndoTest, ANewerDiscardIsNotReplacedByTheOneWhoseRestoreFailed) {
    AppState state = withWorkspace();
    state.workspace->lastDiscard = DiscardRecord{"refs/s/1", {"a"}};
    AppStoreHarness h(std::move(state));
    sendWorkspace(h, WorkspaceAction::Undo{});
    h.send(AppAction(WorkspaceAction::Discarded{DiscardRecord{"refs/s/2", {"b"}}}));
    h.send(AppAction(WorkspaceAction::UndoFailed{"locked"}));
    EXPECT_EQ(ws(h).lastDiscard, (DiscardRecord{"refs/s/2", {"b"}}));
}

TEST(AmendTest, BeginsOnlyOnAnUnpushedCommitWithoutAnOperation) {
    struct Case {
        const char* name;
        std::optional<core::RepositoryOperation> operation;
        std::optional<std::string> head;
        std::optional<std::string> upstream;
        std::int64_t ahead;
        std::optional<core::Text> toast;
    };
    const Case cases[] = {
        {"a merge in progress", core::RepositoryOperation::merge, "1", std::nullopt, 0, core::Text::toastNothingToUndo()},
        {"no commit yet", std::nullopt, std::nullopt, std::nullopt, 0, core::Text::toastNothingToUndo()},
        {"already pushed", std::nullopt, "1", "origin/main", 0, core::Text::toastAmendNotAllowed()},
        {"unpushed", std::nullopt, "1", "origin/main", 1, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withWorkspace();
        auto& workspace = *state.workspace;
        workspace.status.operation = c.operation;
        workspace.status.branch.objectID = c.head;
        workspace.status.branch.upstream = c.upstream;
        workspace.status.branch.ahead = c.ahead;
        workspace.tab = WorkspaceTab::history;
        AppStoreHarness h(std::move(state));
        h.fakes.repository->answers.headMessage = core::CommitMessage{"last", "body"};
        EXPECT_EQ(sendWorkspace(h, WorkspaceAction::BeginAmend{}), c.toast ? Ids{"toast"} : Ids{"amend"});
        settleKeepingToast(h);
        if (c.toast) {
            EXPECT_EQ(h.state().toast->text, *c.toast);
            EXPECT_FALSE(ws(h).isAmending);
            continue;
        }
        EXPECT_TRUE(ws(h).isAmending);
        EXPECT_EQ(ws(h).summary.text(), "last");
        EXPECT_EQ(ws(h).description.text(), "body");
        EXPECT_EQ(ws(h).tab, WorkspaceTab::changes);
        EXPECT_EQ(ws(h).focus, WorkspaceFocus::summary);

        sendWorkspace(h, WorkspaceAction::CancelAmend{});
        EXPECT_FALSE(ws(h).isAmending);
        EXPECT_TRUE(ws(h).summary.isEmpty());
        EXPECT_EQ(ws(h).focus, WorkspaceFocus::files);
    }
}

TEST(IgnoreTest, NamesTheFileAndWhetherItWasTracked) {
    struct Case {
        const char* name;
        core::FileChange file;
        core::Text toast;
    };
    const Case cases[] = {
        {"untracked", changed("build/out.log", core::ChangeKind::untracked), core::Text::toastIgnored("out.log")},
        {"tracked", changed("notes.txt"), core::Text::toastIgnoredUntracked("notes.txt")},
        {"a folder", changed("cache/", core::ChangeKind::untracked), core::Text::toastIgnored("cache")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(withWorkspace());
        EXPECT_EQ(sendWorkspace(h, WorkspaceAction::Ignore{c.file}), (Ids{"ignore"}));
        h.runJob("ignore");
        h.drain();
        EXPECT_EQ(h.state().toast->text, c.toast);
        EXPECT_EQ(h.lastJobIds(), (Ids{"toast", "status"}));
    }
    AppStoreHarness h(withWorkspace());
    h.fakes.repository->fail("ignore", core::GitError::invalidArgument("no"));
    sendWorkspace(h, WorkspaceAction::Ignore{changed("x")});
    h.settle();
    EXPECT_EQ(overlayBody(h), core::Text::raw("no"));
}

}  // namespace
}  // namespace tarv::features
