// The check runs of the current branch: when they load, the key that drops
// a late answer, and an expired session.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TarvCore/Errors/HostingError.hpp"
#include "TarvFeaturesTests/Auth/HostingFixtures.hpp"

namespace tarv::features {
namespace {

using core::HostingError;
using hosting_fixtures::HostingWorld;
using hosting_fixtures::Ids;
using hosting_fixtures::octo;

void onBranch(HostingWorld& world, std::optional<std::string> remote, std::optional<std::string> upstream,
              std::optional<std::string> commit = "c1") {
    auto& workspace = world.state.workspace.emplace("/r", "r", std::move(remote));
    workspace.status.branch.head = "main";
    workspace.status.branch.objectID = std::move(commit);
    workspace.status.branch.upstream = std::move(upstream);
    world.state.session = octo();
}

const SyncState& sync(const HostingWorld& world) { return world.state.workspace->sync; }

TEST(ChecksFlowTest, OnlyABranchTrackingOriginOnTheServiceHasChecks) {
    struct Case {
        const char* name;
        std::optional<std::string> remote;
        std::optional<std::string> upstream;
        bool signedIn;
        std::optional<std::string> commit;
        std::optional<std::string> key;
    };
    const Case cases[] = {
        {"tracks origin", "git@github.com:acme/app.git", "origin/feature/x", true, "c1", "heads/feature/x@c1"},
        {"no commit yet", "https://github.com/acme/app", "origin/main", true, std::nullopt, "heads/main@"},
        {"tracks another remote", "https://github.com/acme/app", "upstream/main", true, "c1", std::nullopt},
        {"another host", "https://gitlab.com/acme/app", "origin/main", true, "c1", std::nullopt},
        {"no upstream", "https://github.com/acme/app", std::nullopt, true, "c1", std::nullopt},
        {"signed out", "https://github.com/acme/app", "origin/main", false, "c1", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HostingWorld world;
        onBranch(world, c.remote, c.upstream, c.commit);
        if (!c.signedIn) world.state.session.reset();
        world.state.workspace->sync.checks = core::CheckSummary{1, 1, 1};
        world.state.workspace->sync.checksKey = "old";
        const AppEffect effect = world.reducer.refreshChecks(world.state, false);
        EXPECT_EQ(sync(world).checksKey, c.key);
        EXPECT_EQ(sync(world).checks, std::nullopt);
        EXPECT_EQ(HostingWorld::ids(effect), c.key ? Ids{"checks"} : Ids{});
    }
}

TEST(ChecksFlowTest, TheSameCommitIsNotReloadedUnlessForced) {
    HostingWorld world;
    onBranch(world, "https://github.com/acme/app", "origin/main");
    world.fakes.github->answers.checks = core::CheckSummary{3, 0, 1};
    world.settle(world.reducer.refreshChecks(world.state, false));
    EXPECT_EQ(sync(world).checks, (core::CheckSummary{3, 0, 1}));
    EXPECT_EQ(world.fakes.github->calls("checks"), Ids{"checks acme app heads/main"});

    EXPECT_TRUE(world.reducer.refreshChecks(world.state, false).jobs.empty());
    // Forced (after a sync): the summary stays on screen while it reloads.
    const AppEffect forced = world.reducer.refreshChecks(world.state, true);
    EXPECT_EQ(HostingWorld::ids(forced), Ids{"checks"});
    EXPECT_EQ(sync(world).checks, (core::CheckSummary{3, 0, 1}));

    // A new commit: the old summary goes at once.
    world.state.workspace->status.branch.objectID = "c2";
    EXPECT_EQ(HostingWorld::ids(world.reducer.refreshChecks(world.state, false)), Ids{"checks"});
    EXPECT_EQ(sync(world).checks, std::nullopt);
    EXPECT_EQ(sync(world).checksKey, "heads/main@c2");
}

TEST(ChecksFlowTest, AnAnswerForAnOlderCommitIsIgnored) {
    HostingWorld world;
    onBranch(world, "https://github.com/acme/app", "origin/main");
    world.fakes.github->answers.checks = core::CheckSummary{1, 0, 0};
    const AppEffect first = world.reducer.refreshChecks(world.state, false);
    world.state.workspace->status.branch.objectID = "c2";
    world.reducer.refreshChecks(world.state, false);
    // The first load answers late, for c1.
    for (auto& action : HostingWorld::run(first)) world.reducer.reduce(world.state, std::move(action));
    EXPECT_EQ(sync(world).checks, std::nullopt);
    EXPECT_EQ(sync(world).checksKey, "heads/main@c2");
}

TEST(ChecksFlowTest, FailuresShowNothingButARefusedTokenEndsTheSession) {
    struct Case {
        const char* name;
        HostingError error;
        bool stillSignedIn;
    };
    const Case cases[] = {
        {"network", HostingError::network("offline"), true},
        {"not found", HostingError::notFound(), true},
        {"rate limited", HostingError::rateLimited(), true},
        {"token refused", HostingError::unauthorized(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HostingWorld world;
        onBranch(world, "https://github.com/acme/app", "origin/main");
        world.fakes.github->fail("checks", c.error);
        world.settle(world.reducer.refreshChecks(world.state, false));
        EXPECT_EQ(sync(world).checks, std::nullopt);
        EXPECT_EQ(world.state.session.has_value(), c.stillSignedIn);
        EXPECT_EQ(world.state.toast.has_value(), !c.stillSignedIn);
    }
}

TEST(ChecksFlowTest, AStatusForTheSameCommitTwiceLoadsOnce) {
    HostingWorld world;
    onBranch(world, "https://github.com/acme/app", "origin/main");
    core::WorkingTreeStatus status = world.state.workspace->status;
    const AppEffect first = world.reducer.reduce(world.state, WorkspaceAction::StatusLoaded{status});
    const AppEffect second = world.reducer.reduce(world.state, WorkspaceAction::StatusLoaded{status});
    const auto count = [](const AppEffect& effect) {
        const Ids ids = HostingWorld::ids(effect);
        return std::count(ids.begin(), ids.end(), "checks");
    };
    EXPECT_EQ(count(first), 1);
    EXPECT_EQ(count(second), 0);
}

}  // namespace
}  // namespace tarv::features
