// The branch picker's pull-request tab: when it can load, what the answers
// do to it, an expired session, and checking a pull request out.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Errors/HostingError.hpp"
#include "TarvFeaturesTests/Auth/HostingFixtures.hpp"

namespace tarv::features {
namespace {

using core::HostingError;
using core::Text;
using hosting_fixtures::HostingWorld;
using hosting_fixtures::Ids;
using hosting_fixtures::octo;

core::PullRequest pull(std::int64_t number, std::string sha = "", bool fromFork = false) {
    core::PullRequest pull;
    pull.number = number;
    pull.title = "change " + std::to_string(number);
    pull.headBranch = "topic-" + std::to_string(number);
    pull.isFromFork = fromFork;
    pull.headSHA = std::move(sha);
    return pull;
}

void pickerOn(HostingWorld& world, std::optional<std::string> remote, bool signedIn) {
    world.state.workspace.emplace("/r", "r", std::move(remote));
    world.state.overlay = BranchPickerState();
    if (signedIn) world.state.session = octo();
}

const BranchPickerState& picker(const AppState& state) { return std::get<BranchPickerState>(state.overlay->value); }

TEST(PullRequestFlowTest, TheTabLoadsOnlyForARepositoryOnTheServiceWithASession) {
    struct Case {
        const char* name;
        std::optional<std::string> remote;
        bool signedIn;
        PullRequestList expected;
        Ids jobs;
    };
    const Case cases[] = {
        {"on the service, signed in", "git@github.com:acme/app.git", true, PullRequestList::loading(),
         {"pullRequests"}},
        {"host in capitals", "https://GitHub.COM/acme/app", true, PullRequestList::loading(), {"pullRequests"}},
        {"signed out", "https://github.com/acme/app", false, PullRequestList::signedOut(), {}},
        {"another host", "https://gitlab.com/acme/app", true, PullRequestList::notGitHub(), {}},
        {"no owner", "https://github.com/app", true, PullRequestList::notGitHub(), {}},
        {"no remote", std::nullopt, true, PullRequestList::notGitHub(), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HostingWorld world;
        pickerOn(world, c.remote, c.signedIn);
        const AppEffect effect = world.reducer.loadPullRequests(world.state);
        EXPECT_EQ(picker(world.state).pullRequests, c.expected);
        EXPECT_EQ(HostingWorld::ids(effect), c.jobs);
    }
}

TEST(PullRequestFlowTest, WithThePickerClosedTheJobStillStartsAndItsListIsDropped) {
    HostingWorld world;
    pickerOn(world, "https://github.com/acme/app", true);
    world.state.overlay.reset();
    world.fakes.github->answers.pullRequests = {pull(3, "sha3")};
    const auto sent = world.settle(world.reducer.loadPullRequests(world.state));
    EXPECT_FALSE(world.state.overlay);
    // The checks of the list still load.
    EXPECT_EQ(world.fakes.github->calls("checks"), Ids{"checks acme app sha3"});
    EXPECT_EQ(sent.size(), 2u);
}

TEST(PullRequestFlowTest, TheJobFillsThePickerReportsAFailureOrAnExpiredSession) {
    struct Case {
        const char* name;
        std::optional<HostingError> error;
        PullRequestList expected;
        bool stillSignedIn;
    };
    const Case cases[] = {
        {"loaded", std::nullopt, PullRequestList::loaded({pull(1, "sha1"), pull(2)}), true},
        {"rate limited", HostingError::rateLimited(), PullRequestList::failed(Text::hostingRateLimited()), true},
        {"token refused", HostingError::unauthorized(), PullRequestList::failed(Text::hostingUnauthorized()),
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HostingWorld world;
        pickerOn(world, "https://github.com/acme/app", true);
        world.fakes.github->answers.pullRequests = {pull(1, "sha1"), pull(2)};
        world.fakes.github->answers.checks = core::CheckSummary{2, 1, 0};
        if (c.error) world.fakes.github->fail("pullRequests", *c.error);
        world.settle(world.reducer.loadPullRequests(world.state));
        EXPECT_EQ(picker(world.state).pullRequests, c.expected);
        EXPECT_EQ(world.state.session.has_value(), c.stillSignedIn);
        EXPECT_EQ(world.fakes.github->calls("pullRequests"), Ids{"pullRequests acme app"});
        if (!c.stillSignedIn) {
            ASSERT_TRUE(world.state.toast);
            EXPECT_EQ(world.state.toast->text, Text::toastSessionExpired());
            EXPECT_EQ(world.fakes.accounts->calls("remove").size(), 1u);
        }
        if (!c.error) {
            // Pull request 2 has no head commit: no checks are asked for it.
            EXPECT_EQ(world.fakes.github->calls("checks"), Ids{"checks acme app sha1"});
            EXPECT_EQ(picker(world.state).pullRequestChecks,
                      (std::map<std::int64_t, core::CheckSummary>{{1, {2, 1, 0}}}));
            EXPECT_EQ(picker(world.state).list.selected, 0);
        }
    }
}

// A newer load replaces a running one; the replaced one must not cover the
// newer answer with a failure of its own.
TEST(PullRequestFlowTest, AReplacedLoadReportsNothing) {
    HostingWorld world;
    pickerOn(world, "https://github.com/acme/app", true);
    world.fakes.github->fail("pullRequests", HostingError::network("cancelled"));
    const AppEffect effect = world.reducer.loadPullRequests(world.state);
    EXPECT_TRUE(HostingWorld::run(effect, true).empty());
}

TEST(PullRequestFlowTest, AnEmptyListSelectsNothing) {
    HostingWorld world;
    pickerOn(world, "https://github.com/acme/app", true);
    const AppEffect effect = world.reducer.reduce(world.state, AuthAction::PullRequestsLoaded{{}});
    EXPECT_EQ(picker(world.state).pullRequests, PullRequestList::loaded({}));
    EXPECT_EQ(picker(world.state).list.selected, std::nullopt);
    EXPECT_EQ(HostingWorld::ids(effect), Ids{"pullRequestChecks"});
    EXPECT_TRUE(HostingWorld::run(effect).empty());
}

TEST(PullRequestFlowTest, OnlyTheFirstThirtyPullRequestsHaveTheirChecksRead) {
    HostingWorld world;
    pickerOn(world, "https://github.com/acme/app", true);
    std::vector<core::PullRequest> pulls;
    for (int i = 1; i <= 40; ++i) pulls.push_back(pull(i, i == 5 ? "" : "sha" + std::to_string(i)));
    world.fakes.github->fail("checks", HostingError::notFound());
    // A failing pull request is skipped; the rest are still asked, in order.
    const auto sent = HostingWorld::run(world.reducer.loadPullRequestChecks(world.state, pulls));
    EXPECT_TRUE(sent.empty());
    const Ids calls = world.fakes.github->calls("checks");
    ASSERT_EQ(calls.size(), 29u);
    EXPECT_EQ(calls.front(), "checks acme app sha1");
    EXPECT_EQ(calls[4], "checks acme app sha6");
    EXPECT_EQ(calls.back(), "checks acme app sha30");
}

TEST(PullRequestFlowTest, PullRequestChecksNeedASessionAndAnOwner) {
    struct Case {
        const char* name;
        std::optional<std::string> remote;
        bool signedIn;
        Ids jobs;
    };
    const Case cases[] = {
        // The host is not compared here.
        {"another host", "https://gitlab.com/acme/app", true, {"pullRequestChecks"}},
        {"signed out", "https://github.com/acme/app", false, {}},
        {"no owner", "https://github.com/app", true, {}},
        {"no remote", std::nullopt, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HostingWorld world;
        pickerOn(world, c.remote, c.signedIn);
        EXPECT_EQ(HostingWorld::ids(world.reducer.loadPullRequestChecks(world.state, {pull(1, "a")})), c.jobs);
    }
}

TEST(PullRequestFlowTest, ChecksOfAPullRequestShowOnlyInTheOpenPicker) {
    HostingWorld world;
    pickerOn(world, "https://github.com/acme/app", true);
    world.reducer.reduce(world.state, AuthAction::PullRequestChecksLoaded{4, {0, 1, 2}});
    EXPECT_EQ(picker(world.state).pullRequestChecks, (std::map<std::int64_t, core::CheckSummary>{{4, {0, 1, 2}}}));
    world.state.overlay = Overlay::Help{};
    EXPECT_TRUE(world.reducer.reduce(world.state, AuthAction::PullRequestChecksLoaded{4, {0, 1, 2}}).jobs.empty());
    const AuthAction failed = AuthAction::PullRequestsFailed{Text::hostingNotFound()};
    EXPECT_TRUE(world.reducer.reduce(world.state, failed).jobs.empty());
    EXPECT_TRUE(std::holds_alternative<Overlay::Help>(world.state.overlay->value));
}

TEST(PullRequestFlowTest, CheckoutClosesThePickerAndReportsThroughTheBranchOperation) {
    struct Case {
        const char* name;
        core::PullRequest pullRequest;
        bool fails;
        const char* call;
        AppAction reported;
    };
    const Case cases[] = {
        {"own branch", pull(8), false, "checkoutPullRequest /r 8 topic-8 false",
         WorkspaceAction::BranchOperationDone{Text::toastPullRequestCheckedOut("topic-8")}},
        {"from a fork", pull(7, "x", true), false, "checkoutPullRequest /r 7 topic-7 true",
         WorkspaceAction::BranchOperationDone{Text::toastPullRequestCheckedOut("topic-7")}},
        {"refused", pull(9), true, "checkoutPullRequest /r 9 topic-9 false",
         WorkspaceAction::BranchOperationFailed{"dirty tree"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HostingWorld world;
        pickerOn(world, "https://github.com/acme/app", true);
        if (c.fails) {
            world.fakes.repository->fail("checkoutPullRequest", core::GitError::invalidArgument("dirty tree"));
        }
        const AppEffect effect = world.reducer.checkoutPullRequest(world.state, c.pullRequest);
        EXPECT_FALSE(world.state.overlay);
        EXPECT_EQ(HostingWorld::ids(effect), Ids{"branch"});
        const auto sent = HostingWorld::run(effect);
        EXPECT_EQ(world.fakes.repository->calls("checkoutPullRequest"), Ids{c.call});
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0], c.reported);
    }

    HostingWorld none;
    none.state.overlay = BranchPickerState();
    EXPECT_TRUE(none.reducer.checkoutPullRequest(none.state, pull(7)).jobs.empty());
    EXPECT_TRUE(none.state.overlay);
}

}  // namespace
}  // namespace tarv::features
