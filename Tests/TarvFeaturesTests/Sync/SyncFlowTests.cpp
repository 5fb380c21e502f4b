// The sync flow through the store: the guard that keeps one visible sync at
// a time, the branch a push acts on, the silent background fetch, what a
// finished sync reloads, how a failure is shown, and the outcome of a
// background fetch that a user's sync replaced (it must not end that sync).
#include <gtest/gtest.h>

#include <chrono>

#include "../Workspace/WorkspaceFixtures.hpp"
#include "Support/AppStoreHarness.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Errors/RemoteFailure.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features {
namespace {

using namespace fixtures;
using tarv::testing::AppStoreHarness;
using Activity = SyncState::Activity;
using core::SyncAction;
using Calls = std::vector<std::string>;

const WorkspaceState& ws(const AppStoreHarness& h) { return *h.state().workspace; }

// An open workspace at "/r" on `head` (none: detached) with an upstream
// when `upstream`, a remote, and this sync in progress.
AppState syncing(std::optional<Activity> activity = std::nullopt, std::optional<std::string> head = "main",
                 bool upstream = true) {
    AppState state = withWorkspace();
    WorkspaceState& workspace = *state.workspace;
    workspace.remoteURL = "https://example.com/owner/r.git";
    workspace.status.branch.head = std::move(head);
    if (upstream) workspace.status.branch.upstream = "origin/main";
    workspace.sync.activity = activity;
    return state;
}

// The sync outcomes reduced so far, in order.
std::vector<WorkspaceAction> syncOutcomes(const AppStoreHarness& h) {
    std::vector<WorkspaceAction> outcomes;
    for (const AppAction& action : h.reducedActions()) {
        const auto* workspace = std::get_if<WorkspaceAction>(&action.value);
        if (workspace && (std::holds_alternative<WorkspaceAction::SyncFinished>(workspace->value) ||
                          std::holds_alternative<WorkspaceAction::SyncFailed>(workspace->value))) {
            outcomes.push_back(*workspace);
        }
    }
    return outcomes;
}

TEST(SyncStartTest, OneVisibleSyncAtATimeOnTheCurrentBranch) {
    using C = core::AppCommand;
    struct Case {
        const char* name;
        AppState given;
        AppAction action;
        std::optional<Activity> activity;
        Ids jobs;
        Calls calls;
    };
    const Case cases[] = {
        {"fetch", syncing(), WorkspaceAction::Sync{SyncAction::fetch}, Activity::fetching, {"sync"}, {"fetch /r"}},
        {"pull", syncing(), WorkspaceAction::Sync{SyncAction::pull}, Activity::pulling, {"sync"}, {"pull /r"}},
        {"push", syncing(), WorkspaceAction::Sync{SyncAction::push}, Activity::pushing, {"sync"},
         {"push /r main false"}},
        {"publish the branch", syncing(), WorkspaceAction::Sync{SyncAction::publishBranch}, Activity::pushing,
         {"sync"}, {"push /r main true"}},
        {"push on a detached head", syncing(std::nullopt, std::nullopt), WorkspaceAction::Sync{SyncAction::push},
         Activity::pushing, {"sync"}, {"push /r HEAD false"}},
        {"push command with an upstream", syncing(), AppAction::Command{C::push}, Activity::pushing, {"sync"},
         {"push /r main false"}},
        {"push command without an upstream publishes", syncing(std::nullopt, "topic", false),
         AppAction::Command{C::push}, Activity::pushing, {"sync"}, {"push /r topic true"}},
        {"fetch command", syncing(), AppAction::Command{C::fetch}, Activity::fetching, {"sync"}, {"fetch /r"}},
        {"fetch while pulling", syncing(Activity::pulling), WorkspaceAction::Sync{SyncAction::fetch},
         Activity::pulling, {}, {}},
        {"push while fetching", syncing(Activity::fetching), WorkspaceAction::Sync{SyncAction::push},
         Activity::fetching, {}, {}},
        {"pull command while pushing", syncing(Activity::pushing), AppAction::Command{C::pull}, Activity::pushing,
         {}, {}},
        {"publish the repository while fetching", syncing(Activity::fetching),
         WorkspaceAction::Sync{SyncAction::publishRepository}, Activity::fetching, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(c.given);
        h.send(c.action);
        EXPECT_EQ(ws(h).sync.activity, c.activity);
        EXPECT_EQ(h.lastJobIds(), c.jobs);
        h.runJob("sync");
        EXPECT_EQ(h.fakes.repository->calls(), c.calls);
    }
}

TEST(SyncStartTest, PublishingTheRepositoryLeavesTheActivityAlone) {
    AppStoreHarness h(syncing());
    h.send(WorkspaceAction::Sync{SyncAction::publishRepository});
    EXPECT_FALSE(ws(h).sync.activity.has_value());
    EXPECT_TRUE(h.jobsWithID("sync").empty());
    ASSERT_TRUE(h.state().overlay.has_value());  // the publish form, or the sign-in first
}

TEST(BackgroundFetchTest, StartsOnlyWhenIdleWithARemoteShowsNoProgressAndSetsTheNextTick) {
    struct Case {
        const char* name;
        AppState given;
        Ids jobs;
    };
    AppState withoutRemote = syncing();
    withoutRemote.workspace->remoteURL.reset();
    const Case cases[] = {
        {"idle with a remote", syncing(), {"sync", "autofetch"}},
        {"without a remote", withoutRemote, {"autofetch"}},
        {"while a pull runs", syncing(Activity::pulling), {"autofetch"}},
        {"no repository open", AppState(), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(c.given);
        const bool open = h.state().workspace.has_value();
        const auto before = open ? ws(h).sync.activity : std::nullopt;
        h.send(WorkspaceAction::AutoFetchTick{});
        EXPECT_EQ(h.lastJobIds(), c.jobs);
        if (open) {
            EXPECT_EQ(ws(h).sync.activity, before);
        }
        for (const std::size_t timer : h.jobsWithID("autofetch")) {
            EXPECT_EQ(h.executor().job(timer).delay, std::chrono::seconds(300));
        }
    }
}

TEST(SyncJobTest, ReportsOneOutcomeAndNothingForAnUnclassifiedErrorOnceStopped) {
    const core::RemoteFailure offline = core::RemoteFailure::networkUnavailable();
    const core::GitError broken = core::GitError::invalidOutput("garbled");
    struct Case {
        const char* name;
        bool background;
        std::optional<core::RemoteFailure> remoteFailure;
        bool otherError;
        bool stopped;
        std::vector<WorkspaceAction> sent;
    };
    const std::string brokenText = ErrorText::describe(broken);
    const Case cases[] = {
        {"success", false, std::nullopt, false, false, {WorkspaceAction::SyncFinished{SyncAction::fetch, false}}},
        {"classified failure", false, offline, false, false,
         {WorkspaceAction::SyncFailed{SyncAction::fetch, offline, "", false}}},
        {"classified failure once stopped", false, offline, false, true, {}},
        {"other error", false, std::nullopt, true, false,
         {WorkspaceAction::SyncFailed{SyncAction::fetch, std::nullopt, brokenText, false}}},
        {"other error once stopped", false, std::nullopt, true, true, {}},
        {"background success", true, std::nullopt, false, false,
         {WorkspaceAction::SyncFinished{SyncAction::fetch, true}}},
        {"background classified failure", true, offline, false, false,
         {WorkspaceAction::SyncFailed{SyncAction::fetch, offline, "", true}}},
        {"background classified failure once stopped", true, offline, false, true, {}},
        {"background success once stopped", true, std::nullopt, false, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(syncing());
        if (c.remoteFailure) h.fakes.repository->fail("fetch", *c.remoteFailure);
        if (c.otherError) h.fakes.repository->fail("fetch", broken);
        h.send(c.background ? AppAction(WorkspaceAction::AutoFetchTick{})
                            : AppAction(WorkspaceAction::Sync{SyncAction::fetch}));
        if (c.stopped) h.store().cancelEffects();
        ASSERT_TRUE(h.runJob("sync"));
        h.drain();
        EXPECT_EQ(syncOutcomes(h), c.sent);
    }
}

TEST(SyncFinishedTest, ReloadsAndSaysSoUnlessSilent) {
    struct Case {
        const char* name;
        SyncAction action;
        bool silent;
        bool refreshing;
        Ids jobs;
        std::optional<core::Text> toast;
    };
    const Case cases[] = {
        {"fetch", SyncAction::fetch, false, false, {"branches", "status", "toast"}, core::Text::toastFetched()},
        {"pull reloads the history", SyncAction::pull, false, false, {"branches", "status", "history", "toast"},
         core::Text::toastPulled()},
        {"push", SyncAction::push, false, false, {"branches", "status", "toast"}, core::Text::toastPushed()},
        {"publish the branch", SyncAction::publishBranch, false, false, {"branches", "status", "toast"},
         core::Text::toastPublished("main")},
        {"publish the repository", SyncAction::publishRepository, false, false, {"branches", "status"},
         std::nullopt},
        {"silent fetch", SyncAction::fetch, true, false, {"branches", "status"}, std::nullopt},
        {"while a status read runs", SyncAction::fetch, false, true, {"branches", "toast"},
         core::Text::toastFetched()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState given = syncing(c.silent ? std::nullopt : std::optional(Activity::fetching));
        given.workspace->isRefreshing = c.refreshing;
        given.answeredGitWithSession = true;
        AppStoreHarness h(std::move(given));
        h.send(WorkspaceAction::SyncFinished{c.action, c.silent});
        EXPECT_EQ(h.lastJobIds(), c.jobs);
        EXPECT_FALSE(ws(h).sync.activity.has_value());
        EXPECT_EQ(ws(h).sync.lastFetched, h.state().now);
        EXPECT_TRUE(ws(h).isRefreshing);
        EXPECT_FALSE(h.state().answeredGitWithSession);
        if (c.toast) {
            ASSERT_TRUE(h.state().toast.has_value());
            EXPECT_EQ(h.state().toast->text, *c.toast);
            EXPECT_FALSE(h.state().toast->isError);
        } else {
            EXPECT_FALSE(h.state().toast.has_value());
        }
    }
}

TEST(SyncFinishedTest, ReloadsTheChecksEvenForTheCommitAlreadyShown) {
    AppState given = syncing(Activity::fetching);
    given.session = core::GitHubSession{"octo", std::nullopt, "gho_token"};
    given.workspace->remoteURL = "https://github.com/owner/r.git";
    given.workspace->status.branch.objectID = "abc123";
    AppStoreHarness h(std::move(given));
    h.send(WorkspaceAction::SyncFinished{SyncAction::fetch, false});
    EXPECT_EQ(h.lastJobIds(), (Ids{"branches", "status", "toast", "checks"}));
    const auto key = ws(h).sync.checksKey;
    ASSERT_TRUE(key.has_value());
    // The status read still runs; the same commit's checks load again.
    h.send(WorkspaceAction::SyncFinished{SyncAction::fetch, true});
    EXPECT_EQ(h.lastJobIds(), (Ids{"branches", "checks"}));
    EXPECT_EQ(ws(h).sync.checksKey, key);
}

TEST(SyncFailedTest, ShowsTheFailureWithItsFixesUnlessSilent) {
    using F = core::FailureFix;
    const auto auth = core::RemoteFailure::authenticationFailed();
    struct Case {
        const char* name;
        std::optional<core::RemoteFailure> failure;
        std::string message;
        bool silent;
        bool answeredWithSession;
        std::optional<Overlay> overlay;
        std::optional<SyncAction> lastFailed;
        bool tokenRejected;
    };
    const Case cases[] = {
        {"unclassified", std::nullopt, "fatal: boom", false, false,
         Overlay::message(core::Text::syncFailedTitle(), core::Text::raw("fatal: boom")), SyncAction::push, false},
        {"classified, with its fixes", core::RemoteFailure::nonFastForward(), "", false, false,
         Overlay::message(core::Text::syncFailedTitle(), core::Text::remoteFailure(core::RemoteFailure::nonFastForward()),
                          {F::pull()}),
         SyncAction::push, false},
        {"authentication, signed out on the hosting service", auth, "", false, false,
         Overlay::message(core::Text::syncFailedTitle(), core::Text::remoteFailure(auth), {F::signIn()}),
         SyncAction::push, false},
        {"token offered to git and refused", auth, "", false, true,
         Overlay::message(core::Text::syncFailedTitle(), core::Text::gitTokenRejected()), SyncAction::push, true},
        {"silent", core::RemoteFailure::networkUnavailable(), "", true, false, std::nullopt, SyncAction::pull,
         false},
        {"silent, token refused", auth, "", true, true, std::nullopt, SyncAction::pull, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState given = syncing(c.silent ? std::nullopt : std::optional(Activity::pushing));
        given.workspace->remoteURL = "https://github.com/owner/r.git";
        given.workspace->sync.lastFailed = SyncAction::pull;
        given.answeredGitWithSession = c.answeredWithSession;
        AppStoreHarness h(std::move(given));
        h.send(WorkspaceAction::SyncFailed{SyncAction::push, c.failure, c.message, c.silent});
        EXPECT_TRUE(h.lastJobIds().empty());
        EXPECT_FALSE(ws(h).sync.activity.has_value());
        EXPECT_FALSE(ws(h).sync.lastFetched.has_value());
        EXPECT_EQ(ws(h).sync.lastFailed, c.lastFailed);
        EXPECT_EQ(h.state().gitTokenRejected, c.tokenRejected);
        EXPECT_FALSE(h.state().answeredGitWithSession);
        EXPECT_TRUE(h.state().overlay == c.overlay);
    }
}

TEST(SyncFailedTest, OnlyTheFailureRightAfterTheSessionAnsweredCountsAsARefusedToken) {
    AppState given = syncing(Activity::fetching);
    given.answeredGitWithSession = true;
    AppStoreHarness h(std::move(given));
    const auto auth = core::RemoteFailure::authenticationFailed();
    h.send(WorkspaceAction::SyncFailed{SyncAction::fetch, auth, "", false});
    EXPECT_TRUE(h.state().gitTokenRejected);
    h.send(WorkspaceAction::Sync{SyncAction::fetch});
    h.send(WorkspaceAction::SyncFailed{SyncAction::fetch, auth, "", false});
    const auto* message = std::get_if<Overlay::Message>(&h.state().overlay->value);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->body, core::Text::remoteFailure(auth));
}

// The background fetch runs under the id "sync" without showing progress,
// so a sync the user starts replaces it. Whatever that fetch still reports
// (git killed by the stop answers with a classified failure; an outcome
// already on its way) must leave the user's sync running on screen:
// otherwise a second sync would be accepted and stop the pull half-way.
TEST(SyncFlowTest, AReplacedBackgroundFetchNeverEndsTheUsersSync) {
    struct Case {
        const char* name;
        std::optional<core::RemoteFailure> fetchFailure;
        bool reportedBeforeTheUserSync;
    };
    const Case cases[] = {
        {"killed by the stop, classified failure", core::RemoteFailure::networkUnavailable(), false},
        {"killed by the stop, finished anyway", std::nullopt, false},
        {"failure already on its way", core::RemoteFailure::networkUnavailable(), true},
        {"success already on its way", std::nullopt, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState given = syncing();
        given.answeredGitWithSession = false;
        AppStoreHarness h(std::move(given));
        if (c.fetchFailure) h.fakes.repository->fail("fetch", *c.fetchFailure);
        h.send(WorkspaceAction::AutoFetchTick{});
        const std::size_t background = h.jobsWithID("sync").at(0);
        if (c.reportedBeforeTheUserSync) h.executor().runJob(background);

        h.send(WorkspaceAction::Sync{SyncAction::pull});
        ASSERT_EQ(ws(h).sync.activity, Activity::pulling);
        if (!c.reportedBeforeTheUserSync) {
            EXPECT_TRUE(h.executor().isStopRequested(background));
            h.executor().runJob(background);
        }
        h.drain();
        EXPECT_EQ(ws(h).sync.activity, Activity::pulling);
        EXPECT_FALSE(h.state().overlay.has_value());

        // A second sync is still refused while the pull runs.
        h.send(WorkspaceAction::Sync{SyncAction::fetch});
        EXPECT_TRUE(h.lastJobIds().empty());
        EXPECT_EQ(h.jobsWithID("sync").size(), 2u);

        ASSERT_TRUE(h.runJob("sync"));
        h.drain();
        EXPECT_FALSE(ws(h).sync.activity.has_value());
        EXPECT_EQ(h.fakes.repository->calls("pull"), Calls{"pull /r"});
    }
}

}  // namespace
}  // namespace tarv::features
