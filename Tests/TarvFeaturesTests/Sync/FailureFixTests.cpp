// The fix buttons of a failed sync's message through the store: each fix
// closes the message and starts its remedy; a fix that is not a button of
// the open message changes nothing; the remedies that sync go through the
// sync guard.
#include <gtest/gtest.h>

#include "../Workspace/WorkspaceFixtures.hpp"
#include "Support/AppStoreHarness.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features {
namespace {

using namespace fixtures;
using tarv::testing::AppStoreHarness;
using Activity = SyncState::Activity;
using core::FailureFix;
using core::SyncAction;
using Calls = std::vector<std::string>;

Overlay failureMessage(std::vector<FailureFix> fixes) {
    return Overlay::message(core::Text::syncFailedTitle(), core::Text::raw("it failed"), std::move(fixes));
}

// A workspace on "main" whose last visible failure was `lastFailed`, with
// `overlay` open.
AppState showing(Overlay overlay, std::optional<SyncAction> lastFailed = std::nullopt,
                 std::optional<Activity> activity = std::nullopt) {
    AppState state = withWorkspace();
    state.workspace->remoteURL = "git@example.com:owner/r.git";
    state.workspace->status.branch.head = "main";
    state.workspace->sync.lastFailed = lastFailed;
    state.workspace->sync.activity = activity;
    state.overlay = std::move(overlay);
    return state;
}

TEST(FailureFixTest, CarriesOutTheFixOfTheOpenMessage) {
    const FailureFix web = FailureFix::openURL("https://example.com/sso");
    struct Case {
        const char* name;
        AppState given;
        FailureFix fix;
        Ids jobs;
        std::optional<Activity> activity;
        Calls repositoryCalls;
        Calls platformCalls;
    };
    const Case cases[] = {
        {"open a page", showing(failureMessage({web})), web, {"-"}, std::nullopt, {}, {"openURL https://example.com/sso"}},
        {"pull", showing(failureMessage({FailureFix::pull()})), FailureFix::pull(), {"sync"}, Activity::pulling,
         {"pull /r"}, {}},
        {"publish the branch", showing(failureMessage({FailureFix::publishBranch()})), FailureFix::publishBranch(),
         {"sync"}, Activity::pushing, {"push /r main true"}, {}},
        {"retry a failed publish", showing(failureMessage({FailureFix::retry()}), SyncAction::publishBranch),
         FailureFix::retry(), {"sync"}, Activity::pushing, {"push /r main true"}, {}},
        {"retry a failed pull", showing(failureMessage({FailureFix::retry()}), SyncAction::pull), FailureFix::retry(),
         {"sync"}, Activity::pulling, {"pull /r"}, {}},
        {"retry with no failure recorded fetches", showing(failureMessage({FailureFix::retry()})), FailureFix::retry(),
         {"sync"}, Activity::fetching, {"fetch /r"}, {}},
        {"pull while a fetch runs", showing(failureMessage({FailureFix::pull()}), std::nullopt, Activity::fetching),
         FailureFix::pull(), {}, Activity::fetching, {}, {}},
        {"retry while a push runs", showing(failureMessage({FailureFix::retry()}), SyncAction::pull, Activity::pushing),
         FailureFix::retry(), {}, Activity::pushing, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(c.given);
        h.send(OverlayAction::ApplyFix{c.fix});
        EXPECT_FALSE(h.state().overlay.has_value());
        EXPECT_EQ(h.lastJobIds(), c.jobs);
        EXPECT_EQ(h.state().workspace->sync.activity, c.activity);
        for (const std::string& id : c.jobs) h.runJob(id);
        EXPECT_EQ(h.fakes.repository->calls(), c.repositoryCalls);
        EXPECT_EQ(h.fakes.platform->calls(), c.platformCalls);
    }
}

TEST(FailureFixTest, AFixThatIsNotAButtonOfTheOpenOverlayIsIgnored) {
    struct Case {
        const char* name;
        AppState given;
        FailureFix fix;
    };
    AppState withoutWorkspace;
    withoutWorkspace.overlay = Overlay::Help{};
    const Case cases[] = {
        {"another fix of the message", showing(failureMessage({FailureFix::retry()})), FailureFix::pull()},
        {"another address", showing(failureMessage({FailureFix::openURL("https://a")})), FailureFix::openURL("https://b")},
        {"a message without fixes", showing(failureMessage({})), FailureFix::retry()},
        {"not a message", showing(Overlay::Help{}), FailureFix::retry()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(c.given);
        h.send(OverlayAction::ApplyFix{c.fix});
        EXPECT_TRUE(h.state().overlay == c.given.overlay);
        EXPECT_TRUE(h.lastJobIds().empty());
        EXPECT_FALSE(h.state().workspace->sync.activity.has_value());
    }
}

TEST(FailureFixTest, WithoutAWorkspaceTheRepositoryFixesOnlyCloseTheMessage) {
    for (const FailureFix& fix : {FailureFix::pull(), FailureFix::publishBranch(), FailureFix::retry(),
                                  FailureFix::useRemoteURL("https://example.com/owner/r.git")}) {
        AppState given;
        given.overlay = failureMessage({fix});
        AppStoreHarness h(std::move(given));
        h.send(OverlayAction::ApplyFix{fix});
        EXPECT_FALSE(h.state().overlay.has_value());
        EXPECT_TRUE(h.lastJobIds().empty());
    }
}

TEST(FailureFixTest, SignInStartsTheSignIn) {
    AppStoreHarness h(showing(failureMessage({FailureFix::signIn()})));
    h.send(OverlayAction::ApplyFix{FailureFix::signIn()});
    ASSERT_TRUE(h.state().overlay.has_value());
    EXPECT_EQ(h.state().overlay->kind(), Overlay::Kind::signIn);
}

TEST(FailureFixTest, UsingAnotherRemoteAddressPointsOriginAtIt) {
    const std::string moved = "https://example.com/owner/moved.git";
    const core::GitError refused = core::GitError::invalidArgument("no such remote");
    struct Case {
        const char* name;
        std::optional<std::string> readBack;
        bool readFails;
        bool setFails;
        Calls calls;
        std::optional<std::string> remoteURL;
        std::optional<Toast> toast;
    };
    const Case cases[] = {
        {"as git reads it back", "https://example.com/owner/moved", false, false,
         {"setRemoteURL /r origin " + moved, "remoteURL /r origin"}, "https://example.com/owner/moved",
         Toast{1, core::Text::toastRemoteChanged(moved), false}},
        {"reading back fails", std::nullopt, true, false, {"setRemoteURL /r origin " + moved, "remoteURL /r origin"},
         moved, Toast{1, core::Text::toastRemoteChanged(moved), false}},
        {"reading back gives nothing", std::nullopt, false, false,
         {"setRemoteURL /r origin " + moved, "remoteURL /r origin"}, moved,
         Toast{1, core::Text::toastRemoteChanged(moved), false}},
        {"setting fails", std::nullopt, false, true, {"setRemoteURL /r origin " + moved},
         "git@example.com:owner/r.git", Toast{1, core::Text::raw(ErrorText::describe(refused)), true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(showing(failureMessage({FailureFix::useRemoteURL(moved)})));
        h.fakes.repository->answers.remoteURL = c.readBack;
        if (c.readFails) h.fakes.repository->fail("remoteURL", refused);
        if (c.setFails) h.fakes.repository->fail("setRemoteURL", refused);
        h.send(OverlayAction::ApplyFix{FailureFix::useRemoteURL(moved)});
        EXPECT_FALSE(h.state().overlay.has_value());
        EXPECT_EQ(h.lastJobIds(), Ids{"remote"});
        auto skipping = AppStoreHarness::longLivedJobs();
        skipping.insert("toast");
        skipping.insert("checks");
        h.settle(skipping);
        EXPECT_EQ(h.fakes.repository->calls(), c.calls);
        EXPECT_EQ(h.state().workspace->remoteURL, c.remoteURL);
        EXPECT_EQ(h.state().toast, c.toast);
    }
}

}  // namespace
}  // namespace tarv::features
