// Publishing the open repository: the form, its validation, the job and
// what a success or a failure leaves behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Errors/HostingError.hpp"
#include "TarvCore/Errors/RemoteFailure.hpp"
#include "TarvFeaturesTests/Auth/HostingFixtures.hpp"

namespace tarv::features {
namespace {

using core::HostingError;
using core::Text;
using hosting_fixtures::HostingWorld;
using hosting_fixtures::Ids;
using hosting_fixtures::octo;

const PublishRepositoryState* form(const AppState& state) {
    return state.overlay ? std::get_if<PublishRepositoryState>(&state.overlay->value) : nullptr;
}

// A signed-in world with the repository at "/r" on branch main, with or
// without a first commit, and the publish form open.
void publishing(HostingWorld& world, bool hasCommit = true, const char* name = "my app") {
    world.state.session = octo();
    auto& workspace = world.state.workspace.emplace("/r", "r", std::nullopt);
    workspace.status.branch.head = "main";
    if (hasCommit) workspace.status.branch.objectID = "abc";
    world.reducer.openPublish(world.state, name);
    world.fakes.github->answers.createdRepository =
        core::GitHubRepository{"octo/my-app", true, "https://github.com/octo/my-app.git", false};
}

AppEffect submit(HostingWorld& world) { return world.reducer.submitPublish(world.state, *form(world.state)); }

TEST(PublishFlowTest, WithoutASessionEveryEntryStartsSignInInstead) {
    HostingWorld world;
    world.state.workspace.emplace("/r", "r", std::nullopt);
    EXPECT_EQ(HostingWorld::ids(world.reducer.openPublish(world.state, "r")), Ids{"signIn"});
    EXPECT_TRUE(std::holds_alternative<SignInState>(world.state.overlay->value));
    EXPECT_EQ(HostingWorld::ids(world.reducer.submitPublish(world.state, PublishRepositoryState("r"))), Ids{"signIn"});
}

TEST(PublishFlowTest, TheFormOpensWithTheSanitisedName) {
    HostingWorld world;
    publishing(world);
    ASSERT_NE(form(world.state), nullptr);
    EXPECT_EQ(form(world.state)->name.text(), "my-app");
    EXPECT_TRUE(form(world.state)->isPrivate);
}

TEST(PublishFlowTest, AnInvalidNameOrARunningPublishStartsNothing) {
    HostingWorld world;
    publishing(world);
    PublishRepositoryState dot = *form(world.state);
    dot.name.setText(".");
    EXPECT_TRUE(world.reducer.submitPublish(world.state, dot).jobs.empty());
    EXPECT_EQ(form(world.state)->error, Text::publishInvalidName());
    EXPECT_FALSE(form(world.state)->isPublishing);

    PublishRepositoryState running = *form(world.state);
    running.isPublishing = true;
    EXPECT_TRUE(world.reducer.submitPublish(world.state, running).jobs.empty());

    HostingWorld closed;
    closed.state.session = octo();
    EXPECT_TRUE(closed.reducer.submitPublish(closed.state, PublishRepositoryState("r")).jobs.empty());
}

TEST(PublishFlowTest, APublishCreatesAddsTheRemoteAndPushesTheBranch) {
    struct Case {
        const char* name;
        bool hasCommit;
        Ids repositoryCalls;
    };
    const Case cases[] = {
        {"with a commit", true,
         {"addRemote /r origin https://github.com/octo/my-app.git", "push /r main true"}},
        // Nothing to push yet: the remote is added and that is all.
        {"no commit yet", false, {"addRemote /r origin https://github.com/octo/my-app.git"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HostingWorld world;
        publishing(world, c.hasCommit);
        std::get<PublishRepositoryState>(world.state.overlay->value).description.setText("  a tool  ");
        const AppEffect effect = submit(world);
        EXPECT_EQ(HostingWorld::ids(effect), Ids{"publish"});
        EXPECT_TRUE(form(world.state)->isPublishing);
        world.fakes.repository->clearCalls();
        const auto sent = HostingWorld::run(effect);
        EXPECT_EQ(world.fakes.github->calls("createRepository"), Ids{"createRepository my-app a tool true"});
        EXPECT_EQ(world.fakes.repository->calls(), c.repositoryCalls);
        EXPECT_TRUE(sent == (std::vector<AppAction>{WorkspaceAction::RemoteLoaded{"https://github.com/octo/my-app.git"},
                                                    OverlayAction::PublishFinished{"octo/my-app"}}));
    }
}

TEST(PublishFlowTest, AFailedPublishSaysWhyInTheForm) {
    struct Case {
        const char* name;
        const char* operation;
        std::exception_ptr error;
        bool cancelled;
        std::vector<AppAction> sent;
    };
    const auto remote = WorkspaceAction::RemoteLoaded{"https://github.com/octo/my-app.git"};
    const Case cases[] = {
        {"token refused", "createRepository", std::make_exception_ptr(HostingError::unauthorized()), false,
         {AuthAction::SessionExpired{}, OverlayAction::PublishFailed{Text::hostingUnauthorized()}}},
        {"forbidden", "createRepository", std::make_exception_ptr(HostingError::forbidden("org policy")), false,
         {OverlayAction::PublishFailed{Text::publishForbidden("org policy")}}},
        {"name taken", "createRepository", std::make_exception_ptr(HostingError::http(422, "taken")), false,
         {OverlayAction::PublishFailed{Text::hostingHTTP(422, "taken")}}},
        {"push rejected", "push", std::make_exception_ptr(core::RemoteFailure::hookRejected()), false,
         {remote, OverlayAction::PublishFailed{Text::remoteFailure(core::RemoteFailure::hookRejected())}}},
        {"remote not added", "addRemote", std::make_exception_ptr(core::GitError::invalidArgument("exists")), false,
         {OverlayAction::PublishFailed{Text::raw("exists")}}},
        {"cancelled", "addRemote", std::make_exception_ptr(core::GitError::invalidArgument("exists")), true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HostingWorld world;
        publishing(world);
        world.fakes.github->failWith(c.operation, c.error);
        world.fakes.repository->failWith(c.operation, c.error);
        const auto sent = HostingWorld::run(submit(world), c.cancelled);
        EXPECT_EQ(sent, c.sent);
    }
}

TEST(PublishFlowTest, ASuccessClosesTheFormAndReloadsTheRepository) {
    HostingWorld world;
    publishing(world);
    const AppEffect effect = world.reducer.publishFinished(world.state, "octo/my-app");
    EXPECT_FALSE(world.state.overlay);
    EXPECT_TRUE(world.state.workspace->isRefreshing);
    ASSERT_TRUE(world.state.toast);
    EXPECT_EQ(world.state.toast->text, Text::toastPublishedRepository("octo/my-app"));
    EXPECT_EQ(HostingWorld::ids(effect), (Ids{"toast", "branches", "status"}));

    // Another overlay stays; without a repository only the form closes.
    HostingWorld other;
    other.state.overlay = Overlay::Help{};
    EXPECT_TRUE(other.reducer.publishFinished(other.state, "octo/x").jobs.empty());
    EXPECT_TRUE(other.state.overlay);
}

}  // namespace
}  // namespace tarv::features
