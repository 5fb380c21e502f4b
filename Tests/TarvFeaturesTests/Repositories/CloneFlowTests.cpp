// The clone prompt's opening, its list of the user's repositories, and the
// clone job.
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

const ClonePromptState& prompt(const AppState& state) { return std::get<ClonePromptState>(state.overlay->value); }

core::GitHubRepository repository(std::string fullName) {
    return core::GitHubRepository{fullName, false, "https://github.com/" + fullName + ".git", false};
}

TEST(CloneFlowTest, ThePromptOpensBesideTheOpenRepository) {
    struct Case {
        const char* name;
        std::optional<std::string> workspace;
        const char* destination;
    };
    const Case cases[] = {
        {"nested", "/a/b/repo", "/a/b"},
        {"under the root", "/repo", "/home/test/Developer"},
        {"no repository", std::nullopt, "/home/test/Developer"},
        {"no slash", "repo", "/home/test/Developer"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HostingWorld world;
        if (c.workspace) world.state.workspace.emplace(*c.workspace, "repo", std::nullopt);
        world.state.overlay = Overlay::Help{};
        const AppEffect effect = world.reducer.openClone(world.state);
        EXPECT_EQ(prompt(world.state).destination.text(), c.destination);
        // Without a session the prompt offers a typed address only.
        EXPECT_EQ(prompt(world.state).remote, GitHubRepositoryList::signedOut());
        EXPECT_TRUE(effect.jobs.empty());
    }
}

TEST(CloneFlowTest, WithASessionTheUsersRepositoriesLoadIntoTheOpenPrompt) {
    struct Case {
        const char* name;
        std::optional<HostingError> error;
        const char* typed;
        GitHubRepositoryList expected;
        std::optional<std::int64_t> selected;
        bool stillSignedIn;
    };
    const auto loaded = GitHubRepositoryList::loaded({repository("octo/app"), repository("octo/site")});
    const Case cases[] = {
        {"loaded", std::nullopt, "", loaded, 0, true},
        {"loaded, typing an address", std::nullopt, "git@", loaded, std::nullopt, true},
        {"loaded, no match", std::nullopt, "zzz", loaded, std::nullopt, true},
        {"failed", HostingError::network("offline"), "",
         GitHubRepositoryList::failed(Text::hostingNetwork("offline")), std::nullopt, true},
        {"token refused", HostingError::unauthorized(), "",
         GitHubRepositoryList::failed(Text::hostingUnauthorized()), std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HostingWorld world;
        world.state.session = octo();
        world.fakes.github->answers.repositories = {repository("octo/app"), repository("octo/site")};
        if (c.error) world.fakes.github->fail("repositories", *c.error);
        const AppEffect effect = world.reducer.openClone(world.state);
        EXPECT_EQ(prompt(world.state).remote, GitHubRepositoryList::loading());
        EXPECT_EQ(HostingWorld::ids(effect), Ids{"cloneRepositories"});
        std::get<ClonePromptState>(world.state.overlay->value).url.setText(c.typed);
        world.settle(effect);
        EXPECT_EQ(prompt(world.state).remote, c.expected);
        EXPECT_EQ(prompt(world.state).list.selected, c.selected);
        EXPECT_EQ(world.state.session.has_value(), c.stillSignedIn);
        EXPECT_EQ(world.fakes.github->tokens(), Ids{"gho_token"});
    }
}

TEST(CloneFlowTest, ListAnswersForAClosedPromptChangeNothing) {
    const AppAction answers[] = {AuthAction::RepositoriesLoaded{{repository("octo/app")}},
                                 AuthAction::RepositoriesFailed{Text::hostingNotFound()}};
    for (const AppAction& answer : answers) {
        HostingWorld world;
        world.state.overlay = Overlay::Help{};
        EXPECT_TRUE(world.reducer.reduce(world.state, answer).jobs.empty());
        EXPECT_TRUE(std::holds_alternative<Overlay::Help>(world.state.overlay->value));
    }
}

TEST(CloneFlowTest, ACancelledListLoadSaysNothing) {
    HostingWorld world;
    world.state.session = octo();
    world.fakes.github->fail("repositories", HostingError::network("aborted"));
    EXPECT_TRUE(HostingWorld::run(world.reducer.openClone(world.state), true).empty());
}

TEST(CloneFlowTest, TheCloneGoesIntoTheDestinationWithTheHomeFolderForATilde) {
    struct Case {
        const char* destination;
        const char* target;
    };
    const Case cases[] = {
        {"~", "/home/test"},
        {"~/src/app", "/home/test/src/app"},
        {"  /tmp/app  ", "/tmp/app"},
        {"/srv/~/app", "/srv/~/app"},
        {"~user/app", "~user/app"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.destination);
        HostingWorld world;
        const AppEffect effect =
            world.reducer.startClone(world.state, "https://github.com/octo/app.git", c.destination);
        EXPECT_EQ(HostingWorld::ids(effect), Ids{"clone"});
        const auto sent = HostingWorld::run(effect);
        EXPECT_EQ(world.fakes.repository->calls("clone"),
                  Ids{std::string("clone https://github.com/octo/app.git ") + c.target});
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0], AppAction(OverlayAction::CloneFinished{c.target}));
    }
}

TEST(CloneFlowTest, AFailedCloneIsReportedToThePromptUnlessCancelled) {
    struct Case {
        const char* name;
        std::exception_ptr error;
        bool cancelled;
        std::vector<AppAction> sent;
    };
    const auto failure = core::RemoteFailure::repositoryNotFound();
    const Case cases[] = {
        {"classified", std::make_exception_ptr(failure), false,
         {OverlayAction::CloneFailed{Text::remoteFailure(failure)}}},
        {"other", std::make_exception_ptr(core::GitError::invalidArgument("bad path")), false,
         {OverlayAction::CloneFailed{Text::raw("bad path")}}},
        {"cancelled", std::make_exception_ptr(core::GitError::invalidArgument("bad path")), true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HostingWorld world;
        world.fakes.repository->failWith("clone", c.error);
        const auto sent = HostingWorld::run(world.reducer.startClone(world.state, "u", "/tmp/x"), c.cancelled);
        EXPECT_EQ(sent, c.sent);
    }
}

}  // namespace
}  // namespace tarv::features
