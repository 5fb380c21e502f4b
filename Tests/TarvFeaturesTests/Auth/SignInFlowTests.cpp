// The device-flow sign-in job, the session arms of the hosting reducer and
// the wording of hosting errors.
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

#include "Support/AppStoreHarness.hpp"
#include "TarvCore/Errors/HostingError.hpp"
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {
namespace {

using core::DeviceTokenStatus;
using core::HostingError;
using core::Text;
using testing::AppStoreHarness;
using Ids = std::vector<std::string>;

core::DeviceCode code(std::int64_t interval, std::int64_t expiresIn) {
    return core::DeviceCode{"dev-1", "ABCD-1234", "https://github.com/login/device", interval, expiresIn};
}

std::vector<std::chrono::milliseconds> seconds(std::initializer_list<int> values) {
    std::vector<std::chrono::milliseconds> out;
    for (int v : values) out.push_back(std::chrono::seconds(v));
    return out;
}

const SignInState* signInOverlay(const AppState& state) {
    return state.overlay ? std::get_if<SignInState>(&state.overlay->value) : nullptr;
}

core::GitHubSession octo() { return core::GitHubSession{"octo", "Octo Cat", "gho_token"}; }

// A workspace on the hosting service whose branch tracks origin/main.
AppState hostedWorkspace() {
    AppState state;
    auto& workspace = state.workspace.emplace("/r", "r", "https://github.com/acme/app.git");
    workspace.status.branch.head = "main";
    workspace.status.branch.objectID = "abc";
    workspace.status.branch.upstream = "origin/main";
    return state;
}

void beginSignIn(AppStoreHarness& h) { h.send(AppAction::Command{core::AppCommand::signInGitHub}); }

TEST(SignInFlowTest, TheJobPollsAtTheCodesPaceUntilItEnds) {
    const auto P = DeviceTokenStatus::pending();
    const auto S = DeviceTokenStatus::slowDown();
    struct Case {
        const char* name;
        core::DeviceCode code;
        std::deque<DeviceTokenStatus> answers;
        std::vector<std::chrono::milliseconds> sleeps;
        // The overlay's end (none: closed, signed in).
        std::optional<Text> failure;
    };
    const Case cases[] = {
        {"authorized after pending", code(5, 900), {P, P, DeviceTokenStatus::authorized("gho_token")},
         seconds({5, 5, 5}), std::nullopt},
        {"an interval of 0 is one second", code(0, 900), {P, DeviceTokenStatus::authorized("gho_token")},
         seconds({1, 1}), std::nullopt},
        {"a negative interval is one second", code(-7, 900), {DeviceTokenStatus::denied()}, seconds({1}),
         Text::hostingDenied()},
        {"pending until the code's lifetime is spent", code(5, 15), {P}, seconds({5, 5, 5}),
         Text::hostingExpiredCode()},
        {"each slow-down adds five seconds to every later wait", code(5, 900),
         {S, P, S, DeviceTokenStatus::authorized("gho_token")}, seconds({5, 10, 10, 15}), std::nullopt},
        // A server that only ever asks to slow down cannot keep the job
        // polling past the code's lifetime (5 + 10 + 15 >= 30).
        {"endless slow-down expires", code(5, 30), {S}, seconds({5, 10, 15}), Text::hostingExpiredCode()},
        {"the service says the code expired", code(5, 900), {DeviceTokenStatus::expired()}, seconds({5}),
         Text::hostingExpiredCode()},
        {"the user denied", code(5, 900), {P, DeviceTokenStatus::denied()}, seconds({5, 5}), Text::hostingDenied()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h;
        h.fakes.clock->limitSleeps(20);
        h.fakes.github->answers.deviceCode = c.code;
        h.fakes.github->answers.tokenStatuses = c.answers;
        h.fakes.github->answers.user = core::GitHubUser{"octo", "Octo Cat"};
        beginSignIn(h);
        ASSERT_NE(signInOverlay(h.state()), nullptr);
        EXPECT_EQ(signInOverlay(h.state())->status, SignInState::Status::requesting());
        EXPECT_EQ(h.lastJobIds(), Ids{"signIn"});

        ASSERT_TRUE(h.runJob("signIn"));
        h.drain();
        EXPECT_EQ(h.fakes.clock->sleeps(), c.sleeps);
        EXPECT_EQ(h.fakes.github->calls("pollAccessToken").size(), c.sleeps.size());
        ASSERT_GE(h.reducedActions().size(), 3u);
        EXPECT_EQ(h.reducedActions()[1], AppAction(AuthAction::DeviceCodeReceived{c.code}));
        if (c.failure) {
            ASSERT_NE(signInOverlay(h.state()), nullptr);
            EXPECT_EQ(signInOverlay(h.state())->status, SignInState::Status::failed(*c.failure));
            EXPECT_FALSE(h.state().session);
            EXPECT_TRUE(h.fakes.accounts->calls("save").empty());
        } else {
            EXPECT_FALSE(h.state().overlay);
            EXPECT_EQ(h.state().session, octo());
            EXPECT_EQ(h.fakes.accounts->session(), octo());
            ASSERT_TRUE(h.state().toast);
            EXPECT_EQ(h.state().toast->text, Text::toastSignedIn("octo"));
        }
    }
}

TEST(SignInFlowTest, FailuresOfTheHostingCallsAreWordedInTheOverlay) {
    struct Case {
        const char* name;
        const char* operation;
        HostingError error;
        Text expected;
    };
    const Case cases[] = {
        {"code request", "requestDeviceCode", HostingError::deviceFlowDisabled(), Text::hostingDeviceFlowDisabled()},
        {"poll", "pollAccessToken", HostingError::network("offline"), Text::hostingNetwork("offline")},
        {"user", "currentUser", HostingError::unauthorized(), Text::hostingUnauthorized()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h;
        h.fakes.github->answers.deviceCode = code(1, 900);
        h.fakes.github->answers.tokenStatuses = {DeviceTokenStatus::authorized("t")};
        h.fakes.github->fail(c.operation, c.error);
        beginSignIn(h);
        h.runJob("signIn");
        h.drain();
        ASSERT_NE(signInOverlay(h.state()), nullptr);
        EXPECT_EQ(signInOverlay(h.state())->status, SignInState::Status::failed(c.expected));
        EXPECT_FALSE(h.state().session);
    }
}

TEST(SignInFlowTest, AnAccountThatCannotBeStoredStillSignsInForThisRun) {
    AppStoreHarness h;
    h.fakes.github->answers.deviceCode = code(1, 900);
    h.fakes.github->answers.tokenStatuses = {DeviceTokenStatus::authorized("gho_token")};
    h.fakes.github->answers.user = core::GitHubUser{"octo", "Octo Cat"};
    h.fakes.accounts->fail("save", std::runtime_error("keychain locked"));
    beginSignIn(h);
    h.runJob("signIn");
    h.drain();
    EXPECT_EQ(h.state().session, octo());
    EXPECT_FALSE(h.state().overlay);
}

TEST(SignInFlowTest, AReplacedSignInEndsWithoutAWord) {
    AppStoreHarness h;
    h.fakes.github->answers.deviceCode = code(5, 900);
    h.fakes.github->answers.tokenStatuses = {DeviceTokenStatus::denied()};
    beginSignIn(h);
    beginSignIn(h);
    const auto jobs = h.jobsWithID("signIn");
    ASSERT_EQ(jobs.size(), 2u);
    ASSERT_TRUE(h.executor().isStopRequested(jobs[0]));
    const std::size_t reduced = h.reducedActions().size();
    h.executor().runJob(jobs[0]);
    h.drain();
    EXPECT_EQ(h.reducedActions().size(), reduced);
    EXPECT_EQ(signInOverlay(h.state())->status, SignInState::Status::requesting());
    EXPECT_TRUE(h.fakes.github->calls("pollAccessToken").empty());
}

TEST(SignInFlowTest, ResultsForAClosedSignInOverlayChangeNothingButTheSession) {
    const AppAction cases[] = {
        AuthAction::DeviceCodeReceived{code(5, 900)},
        AuthAction::SignInFailed{Text::hostingDenied()},
    };
    for (const AppAction& action : cases) {
        AppState state;
        state.overlay = Overlay::Help{};
        AppStoreHarness h(std::move(state));
        h.send(action);
        EXPECT_EQ(h.state().overlay->kind(), Overlay(Overlay::Help{}).kind());
        EXPECT_TRUE(h.lastJobIds().empty());
    }

    // A late sign-in still stores the session and says so.
    AppState state;
    state.overlay = Overlay::Help{};
    state.gitTokenRejected = true;
    AppStoreHarness h(std::move(state));
    h.send(AuthAction::SignedIn{octo()});
    EXPECT_EQ(h.state().session, octo());
    EXPECT_FALSE(h.state().gitTokenRejected);
    EXPECT_TRUE(h.state().overlay);
    ASSERT_TRUE(h.state().toast);
    EXPECT_FALSE(h.state().toast->isError);
    EXPECT_EQ(h.lastJobIds(), Ids{"toast"});
}

TEST(SignInFlowTest, ASessionLoadsOrArrivesAndTheChecksOfTheOpenBranchFollow) {
    struct Case {
        const char* name;
        AppAction action;
        Ids jobs;
    };
    const Case cases[] = {
        {"stored session", AuthAction::SessionLoaded{octo()}, {"checks"}},
        {"signed in", AuthAction::SignedIn{octo()}, {"toast", "checks"}},
        {"no stored session", AuthAction::SessionLoaded{std::nullopt}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = hostedWorkspace();
        state.workspace->sync.checks = core::CheckSummary{1, 0, 0};
        state.workspace->sync.checksKey = "heads/main@old";
        AppStoreHarness h(std::move(state));
        h.send(c.action);
        EXPECT_EQ(h.lastJobIds(), c.jobs);
        const bool signedIn = !c.jobs.empty();
        EXPECT_EQ(h.state().workspace->sync.checksKey,
                  signedIn ? std::optional<std::string>("heads/main@abc") : std::nullopt);
        EXPECT_EQ(h.state().workspace->sync.checks, std::nullopt);
    }
}

TEST(SignInFlowTest, AnExpiredSessionIsForgottenWithAnErrorToast) {
    AppState state;
    state.session = octo();
    AppStoreHarness h(std::move(state));
    h.fakes.accounts->setSession(octo());
    h.send(AuthAction::SessionExpired{});
    EXPECT_FALSE(h.state().session);
    ASSERT_TRUE(h.state().toast);
    EXPECT_EQ(h.state().toast->text, Text::toastSessionExpired());
    EXPECT_TRUE(h.state().toast->isError);
    EXPECT_EQ(h.lastJobIds(), (Ids{"toast", "-"}));
    h.settle();
    EXPECT_EQ(h.fakes.accounts->calls("remove").size(), 1u);
    EXPECT_FALSE(h.fakes.accounts->session());
}

TEST(HostingTextTest, EachHostingErrorHasItsWordsAndAnythingElseItsDescription) {
    struct Case {
        std::exception_ptr error;
        Text expected;
    };
    const Case cases[] = {
        {std::make_exception_ptr(HostingError::network("timed out")), Text::hostingNetwork("timed out")},
        {std::make_exception_ptr(HostingError::forbidden("no scope")), Text::hostingForbidden("no scope")},
        {std::make_exception_ptr(HostingError::http(422, "taken")), Text::hostingHTTP(422, "taken")},
        {std::make_exception_ptr(HostingError::unauthorized()), Text::hostingUnauthorized()},
        {std::make_exception_ptr(HostingError::deviceFlowDisabled()), Text::hostingDeviceFlowDisabled()},
        {std::make_exception_ptr(HostingError::notFound()), Text::hostingNotFound()},
        {std::make_exception_ptr(HostingError::rateLimited()), Text::hostingRateLimited()},
        {std::make_exception_ptr(HostingError::invalidResponse()), Text::hostingInvalidResponse()},
        {std::make_exception_ptr(std::runtime_error("disk full")), Text::raw("disk full")},
    };
    for (const Case& c : cases) EXPECT_EQ(AppReducer::hostingText(c.error), c.expected) << c.expected.english();
}

}  // namespace
}  // namespace tarv::features
