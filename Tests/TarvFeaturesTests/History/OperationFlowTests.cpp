// History operations through the store: each replay's git call and the
// kind it reports, `finish` per kind (toasts and a cleared commit box, or
// the conflicts message and the Changes tab), continue and abort, and the
// writes that a later job of the same id never stops half-way.
#include <gtest/gtest.h>

#include <mutex>

#include "../Workspace/WorkspaceFixtures.hpp"
#include "Support/AppStoreHarness.hpp"
#include "Support/FakePorts.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {
namespace {

using namespace fixtures;
using tarv::testing::AppStoreHarness;
using Operation = core::RepositoryOperation;

// A workspace with a typed commit message and the History tab shown.
AppState onHistory(std::optional<Operation> operation = std::nullopt) {
    AppState state = withWorkspace();
    auto& workspace = *state.workspace;
    workspace.status = statusOf(Paths{"a.txt"});
    workspace.status.operation = operation;
    workspace.status.branch.head = "main";
    workspace.summary.setText("typed summary");
    workspace.description.setText("typed description");
    workspace.autoSummary = "typed summary";
    workspace.tab = WorkspaceTab::history;
    workspace.focus = WorkspaceFocus::historyList;
    return state;
}

const WorkspaceState& ws(const AppStoreHarness& h) { return *h.state().workspace; }

TEST(OperationFlowTest, EachReplayCallsGitAndReportsItsKind) {
    struct Case {
        const char* name;
        std::optional<Operation> inProgress;
        WorkspaceAction request;
        std::string call;
        ReplayKind kind;
    };
    const Case cases[] = {
        {"revert", std::nullopt, WorkspaceAction::Revert{"c1"}, "revert /r c1", ReplayKind::Revert{}},
        {"cherry-pick", std::nullopt, WorkspaceAction::CherryPick{"c1"}, "cherryPick /r c1", ReplayKind::CherryPick{}},
        {"squash", std::nullopt, WorkspaceAction::EditHistory{core::HistoryEdit::squashIntoParent("c1")},
         "editHistory /r squash c1", ReplayKind::Edit{core::HistoryEdit::squashIntoParent("c1")}},
        {"move down", std::nullopt, WorkspaceAction::EditHistory{core::HistoryEdit::moveDown("c1")},
         "editHistory /r moveDown c1", ReplayKind::Edit{core::HistoryEdit::moveDown("c1")}},
        {"rebase", std::nullopt, WorkspaceAction::Rebase{"develop"}, "rebase /r develop",
         ReplayKind::Rebase{"develop"}},
        {"continue a cherry-pick", Operation::cherryPick, WorkspaceAction::ContinueOperation{},
         "continueOperation /r", ReplayKind::Continued{Operation::cherryPick}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(onHistory(c.inProgress));
        h.fakes.repository->answers.operationResult = core::OperationResult::conflicts({"x"});
        EXPECT_EQ(sendWorkspace(h, c.request), (Ids{"operation"}));
        h.runJob("operation");
        h.drain();
        EXPECT_EQ(h.fakes.repository->calls(), (Paths{c.call}));
        const auto actions = h.reducedActions();
        EXPECT_TRUE(actions.back() == AppAction(WorkspaceAction::OperationFinished{
                                          c.kind, core::OperationResult::conflicts({"x"})}));
    }
}

TEST(OperationFlowTest, ContinueWithNothingInProgressStartsNothing) {
    AppStoreHarness h(onHistory());
    EXPECT_TRUE(sendWorkspace(h, WorkspaceAction::ContinueOperation{}).empty());
    EXPECT_TRUE(h.fakes.repository->calls().empty());
}

TEST(OperationFlowTest, ACompletedReplayClearsTheCommitBoxWithItsToast) {
    struct Case {
        const char* name;
        ReplayKind kind;
        core::OperationResult result;
        core::Text toast;
    };
    const auto done = core::OperationResult::completed();
    const Case cases[] = {
        {"rebase", ReplayKind::Rebase{"develop"}, done, core::Text::toastRebased("develop")},
        {"squash", ReplayKind::Edit{core::HistoryEdit::squashIntoParent("c1")}, done, core::Text::toastSquashed()},
        {"move up", ReplayKind::Edit{core::HistoryEdit::moveUp("c1")}, done, core::Text::toastReordered()},
        {"move down", ReplayKind::Edit{core::HistoryEdit::moveDown("c1")}, done, core::Text::toastReordered()},
        {"continued", ReplayKind::Continued{Operation::rebase}, done, core::Text::toastOperationCompleted()},
        // git reset the working tree to skip it: the toast says so.
        {"continued past a commit left empty", ReplayKind::Continued{Operation::rebase},
         core::OperationResult::completedSkippingEmpty(), core::Text::toastEmptyCommitSkipped()},
        {"revert", ReplayKind::Revert{}, done, core::Text::toastReverted()},
        {"cherry-pick", ReplayKind::CherryPick{}, done, core::Text::toastCherryPicked()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(onHistory());
        h.send(AppAction(WorkspaceAction::OperationFinished{c.kind, c.result}));
        EXPECT_EQ(h.lastJobIds(), (Ids{"status", "branches", "history", "toast"}));
        ASSERT_TRUE(h.state().toast);
        EXPECT_EQ(h.state().toast->text, c.toast);
        EXPECT_TRUE(ws(h).summary.isEmpty());
        EXPECT_FALSE(ws(h).summary.allowsNewlines());
        EXPECT_TRUE(ws(h).description.isEmpty());
        EXPECT_TRUE(ws(h).description.allowsNewlines());
        EXPECT_TRUE(ws(h).isRefreshing);
        EXPECT_EQ(ws(h).tab, WorkspaceTab::history);
        EXPECT_FALSE(h.state().overlay);
    }
}

TEST(OperationFlowTest, AReplayStoppedByConflictsNamesTheOperationAndShowsTheChanges) {
    struct Case {
        const char* name;
        ReplayKind kind;
        Operation shown;
    };
    const Case cases[] = {
        {"rebase", ReplayKind::Rebase{"develop"}, Operation::rebase},
        {"a history edit runs as a rebase", ReplayKind::Edit{core::HistoryEdit::moveUp("c1")}, Operation::rebase},
        {"continued merge", ReplayKind::Continued{Operation::merge}, Operation::merge},
        {"continued revert", ReplayKind::Continued{Operation::revert}, Operation::revert},
        {"revert", ReplayKind::Revert{}, Operation::revert},
        {"cherry-pick", ReplayKind::CherryPick{}, Operation::cherryPick},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(onHistory());
        h.send(AppAction(WorkspaceAction::OperationFinished{c.kind, core::OperationResult::conflicts({"a", "b"})}));
        EXPECT_EQ(h.lastJobIds(), (Ids{"status", "branches", "history"}));
        EXPECT_TRUE(h.state().overlay == Overlay::message(core::Text::operationConflictsTitle(c.shown),
                                                          core::Text::operationConflictsBody(c.shown, 2)));
        EXPECT_EQ(ws(h).tab, WorkspaceTab::changes);
        EXPECT_EQ(ws(h).focus, WorkspaceFocus::files);
        EXPECT_EQ(ws(h).summary.text(), "typed summary") << "the message stays for the commit that concludes it";
        EXPECT_FALSE(h.state().toast);
    }
}

TEST(OperationFlowTest, AFailedReplayShowsTheMessageAndRereadsTheStatus) {
    AppStoreHarness h(onHistory());
    h.fakes.repository->fail("revert", core::GitError::commandFailed("git revert", 1, "error: could not revert"));
    sendWorkspace(h, WorkspaceAction::Revert{"c1"});
    h.runJob("operation");
    h.drain();
    EXPECT_TRUE(h.state().overlay ==
                Overlay::message(core::Text::errorTitle(), core::Text::raw("error: could not revert")));
    EXPECT_EQ(h.lastJobIds(), (Ids{"status"}));
}

TEST(OperationFlowTest, AbortClearsTheCommitBoxOrShowsWhyItFailed) {
    {
        AppStoreHarness h(onHistory(Operation::merge));
        EXPECT_EQ(sendWorkspace(h, WorkspaceAction::AbortOperation{}), (Ids{"merge"}));
        h.runJob("merge");
        h.drain();
        EXPECT_EQ(h.fakes.repository->calls(), (Paths{"abortOperation /r"}));
        EXPECT_EQ(h.lastJobIds(), (Ids{"toast", "status", "branches"}));
        // git's abort may not rebuild what was staged meanwhile: the toast
        // says where the snapshot taken first keeps it.
        EXPECT_EQ(h.state().toast->text, core::Text::toastOperationAbortedKept());
        EXPECT_TRUE(ws(h).summary.isEmpty());
        EXPECT_TRUE(ws(h).description.isEmpty());
        EXPECT_FALSE(ws(h).autoSummary);
        EXPECT_TRUE(ws(h).isRefreshing);
    }
    {
        AppStoreHarness h(onHistory(Operation::merge));
        h.fakes.repository->fail("abortOperation", core::GitError::commandFailed("git", 128, "fatal: no merge"));
        sendWorkspace(h, WorkspaceAction::AbortOperation{});
        h.runJob("merge");
        h.drain();
        EXPECT_TRUE(h.state().overlay == Overlay::message(core::Text::errorTitle(), core::Text::raw("fatal: no merge")));
        EXPECT_EQ(ws(h).summary.text(), "typed summary");
    }
}

// Records, per call, whether the token git was handed had been stopped.
class TokenWatchingRepository final : public tarv::testing::FakeRepository {
public:
    std::vector<bool> stopped() const {
        std::lock_guard lock(mutex_);
        return stopped_;
    }

    core::MergeResult merge(const std::string& r, const std::string& b, std::stop_token s) override {
        see(s);
        return FakeRepository::merge(r, b, s);
    }
    void abortOperation(const std::string& r, std::stop_token s) override {
        see(s);
        FakeRepository::abortOperation(r, s);
    }
    core::OperationResult revert(const std::string& r, const std::string& c, std::stop_token s) override {
        see(s);
        return FakeRepository::revert(r, c, s);
    }
    core::OperationResult rebase(const std::string& r, const std::string& o, std::stop_token s) override {
        see(s);
        return FakeRepository::rebase(r, o, s);
    }
    void reset(const std::string& r, const std::string& t, core::ResetMode m, std::stop_token s) override {
        see(s);
        FakeRepository::reset(r, t, m, s);
    }
    void resolve(const std::string& r, const std::string& p, core::ConflictResolution c, std::stop_token s) override {
        see(s);
        FakeRepository::resolve(r, p, c, s);
    }
    void markResolved(const std::string& r, const std::vector<std::string>& p, std::stop_token s) override {
        see(s);
        FakeRepository::markResolved(r, p, s);
    }
    void switchBranch(const std::string& r, const std::string& b, std::stop_token s) override {
        see(s);
        FakeRepository::switchBranch(r, b, s);
    }
    void deleteBranch(const std::string& r, const std::string& n, bool f, std::stop_token s) override {
        see(s);
        FakeRepository::deleteBranch(r, n, f, s);
    }

private:
    void see(const std::stop_token& stop) {
        std::lock_guard lock(mutex_);
        stopped_.push_back(stop.stop_requested());
    }
    mutable std::mutex mutex_;
    std::vector<bool> stopped_;
};

// Obvious fault mended: a second request under the same id replaces the
// first job in the store, which used to stop git in the middle of a
// checkout, merge or reset. Git now runs to its end and reports, and the
// second request runs after it.
TEST(OperationFlowTest, ALaterJobOfTheSameIdNeverStopsARunningWrite) {
    struct Case {
        const char* name;
        WorkspaceAction first;
        WorkspaceAction second;
        std::string id;
        Paths calls;
        WorkspaceAction firstOutcome;
    };
    const Case cases[] = {
        {"switch, then switch", WorkspaceAction::SwitchBranch{"a"}, WorkspaceAction::SwitchBranch{"b"}, "branch",
         {"switchBranch /r a", "switchBranch /r b"}, WorkspaceAction::BranchOperationDone{
                                                         core::Text::toastBranchSwitched("a")}},
        {"reset, then delete", WorkspaceAction::Reset{"c1", core::ResetMode::soft},
         WorkspaceAction::DeleteBranch{"old", false}, "branch", {"reset /r c1 soft", "deleteBranch /r old false"},
         WorkspaceAction::BranchOperationDone{core::Text::toastReset(core::ResetMode::soft, "c1")}},
        {"merge, then abort", WorkspaceAction::Merge{"topic"}, WorkspaceAction::AbortOperation{}, "merge",
         {"merge /r topic", "abortOperation /r"},
         WorkspaceAction::MergeFinished{"topic", core::MergeResult::merged()}},
        {"revert, then rebase", WorkspaceAction::Revert{"c1"}, WorkspaceAction::Rebase{"main"}, "operation",
         {"revert /r c1", "rebase /r main"},
         WorkspaceAction::OperationFinished{ReplayKind::Revert{}, core::OperationResult::completed()}},
        {"resolve, then mark resolved", WorkspaceAction::ResolveConflict{"f", core::ConflictResolution::mine},
         WorkspaceAction::MarkResolved{"g"}, "conflict", {"resolve /r f mine", "markResolved /r g"},
         WorkspaceAction::ConflictHandled{}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tarv::testing::FakePorts fakes;
        auto repository = std::make_shared<TokenWatchingRepository>();
        fakes.repository = repository;
        AppStoreHarness h(std::move(fakes), std::nullopt, onHistory(Operation::merge));
        EXPECT_EQ(sendWorkspace(h, c.first), (Ids{c.id}));
        EXPECT_EQ(sendWorkspace(h, c.second), (Ids{c.id}));
        const auto jobs = h.jobsWithID(c.id);
        ASSERT_EQ(jobs.size(), 2u);
        ASSERT_FALSE(h.executor().isStopRequested(jobs[0])) << "the store stopped a write it replaced";

        h.executor().runJob(jobs[0]);
        h.executor().runJob(jobs[1]);
        h.drain();
        EXPECT_EQ(h.fakes.repository->calls(), c.calls);
        EXPECT_EQ(repository->stopped(), (std::vector<bool>{false, false})) << "git was handed a stopped token";
        const auto actions = h.reducedActions();
        EXPECT_NE(std::find(actions.begin(), actions.end(), AppAction(c.firstOutcome)), actions.end())
            << "the first write still reports";
    }
}

}  // namespace
}  // namespace tarv::features
