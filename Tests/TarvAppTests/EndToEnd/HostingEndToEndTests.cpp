// The hosting flows over real components: the reducer's jobs talk to a
// stand-in of the hosting service on 127.0.0.1 through the real hosting
// client and HTTP client, and to real git through the live repository
// client. Jobs run on this thread, one after another, and what they send is
// reduced at once, as the program's loop would.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Support/ActionPrinting.hpp"
#include "Support/FakeHostingServer.hpp"
#include "Support/FakePorts.hpp"
#include "Support/TempGitRepo.hpp"
#include "TarvEngine/Environment/GitEnvironment.hpp"
#include "TarvEngine/Locator/GitLocator.hpp"
#include "TarvEngine/Service/GitExecutorProvider.hpp"
#include "TarvEngine/Service/GitRepositoryClientLive.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvHosting/GitHub/GitHubClientLive.hpp"
#include "TarvSystem/Clock/SystemClock.hpp"
#include "TarvSystem/FileSystem/LocalFileStore.hpp"
#include "TarvSystem/FileSystem/LocalFileSystem.hpp"
#include "TarvSystem/Network/CurlHTTPClient.hpp"
#include "TarvSystem/Process/PosixProcessRunner.hpp"

namespace tarv::app {
namespace {

using features::AppAction;
using features::AppEffect;
using features::AppReducer;
using features::AppState;
using testing::FakeHostingServer;
using testing::TempGitRepo;

// A repository with one commit on main, the hosting stand-in with one
// account, and the reducer over the real hosting client and real git. The
// clock is a test clock (the device flow's waits pass at once) and the
// account store a fake; nothing leaves 127.0.0.1 or the temporary folder.
struct HostingWorld {
    FakeHostingServer server;
    TempGitRepo repo;
    testing::FakePorts fakes;
    std::unique_ptr<AppReducer> reducer;
    AppState state;

    HostingWorld() {
        repo.writeFile("README.md", "hello\n");
        repo.commitAll("First");
        server.addAccount("gho_e2e", "octo", "Octo Cat");

        auto runner = std::make_shared<system::PosixProcessRunner>();
        auto files = std::make_shared<system::LocalFileStore>();
        auto environment = repo.environment();
        auto provider = std::make_shared<engine::GitExecutorProvider>(
            engine::GitLocator::fromEnvironment(runner, std::make_shared<system::LocalFileSystem>()), runner,
            engine::GitEnvironment::Isolation{repo.home(), repo.globalConfig()}, std::nullopt, environment);
        features::Dependencies dependencies = fakes.dependencies();
        dependencies.repository =
            std::make_shared<engine::GitRepositoryClientLive>(provider, files, std::make_shared<system::SystemClock>());
        dependencies.files = files;
        dependencies.github = std::make_shared<hosting::GitHubClientLive>(
            std::make_shared<system::CurlHTTPClient>(10), "test-client-id", server.webBase(), server.apiBase());
        reducer = std::make_unique<AppReducer>(dependencies);
    }

    // Reduces `action`, then runs the jobs that follow (but the toast
    // timers) and reduces what they send, until nothing more is sent.
    void send(AppAction action) { settle(reducer->reduce(state, std::move(action))); }

    void settle(AppEffect effect) {
        std::vector<AppAction> sent;
        for (auto& job : effect.jobs) {
            if (job.id == "toast") continue;
            std::stop_source stop;
            job.work([&sent](AppAction action) { sent.push_back(std::move(action)); }, stop.get_token());
        }
        for (auto& action : sent) send(std::move(action));
    }

    // A bare repository holding main of the test repository.
    std::string bareRemote(const std::string& name) {
        const std::string bare = repo.makeFolder(name);
        repo.git({"init", "--bare", "-b", "main", bare});
        repo.git({"push", bare, "main"});
        return bare;
    }

    void signIn() {
        state.session = core::GitHubSession{"octo", "Octo Cat", "gho_e2e"};
    }
};

TEST(HostingEndToEndTest, SignInByDeviceFlow) {
    HostingWorld world;
    world.server.setDeviceCode("device-9", "WDJB-MJHT", 1, 900);
    world.server.setTokenAnswers({"authorization_pending", "slow_down", "token:gho_e2e"});
    world.send(AppAction::Command{core::AppCommand::signInGitHub});

    ASSERT_TRUE(world.state.session);
    EXPECT_EQ(world.state.session->login, "octo");
    EXPECT_EQ(world.state.session->name, "Octo Cat");
    EXPECT_EQ(world.state.session->token, "gho_e2e");
    EXPECT_EQ(world.fakes.accounts->session(), world.state.session);
    EXPECT_FALSE(world.state.overlay);
    // A second before each of the first two polls, six after the slow-down.
    EXPECT_EQ(world.fakes.clock->sleeps(), (std::vector<std::chrono::milliseconds>{
                                               std::chrono::seconds(1), std::chrono::seconds(1),
                                               std::chrono::seconds(6)}));
    std::size_t polls = 0;
    for (const auto& request : world.server.http().requests()) {
        if (request.path == "/login/oauth/access_token") ++polls;
    }
    EXPECT_EQ(polls, 3u);
}

TEST(HostingEndToEndTest, ADeniedSignInShowsWhyInTheOverlay) {
    HostingWorld world;
    world.server.setTokenAnswers({"access_denied"});
    world.send(AppAction::Command{core::AppCommand::signInGitHub});
    ASSERT_TRUE(world.state.overlay);
    const auto* signIn = std::get_if<features::SignInState>(&world.state.overlay->value);
    ASSERT_NE(signIn, nullptr);
    EXPECT_EQ(signIn->status, features::SignInState::Status::failed(core::Text::hostingDenied()));
    EXPECT_FALSE(world.state.session);
}

TEST(HostingEndToEndTest, TheClonePromptListsTheUsersRepositoriesAndClonesOne) {
    HostingWorld world;
    const std::string bare = world.bareRemote("tool.git");
    world.server.setRepositories({core::GitHubRepository{"octo/tool", false, bare, false},
                                  core::GitHubRepository{"octo/site", true, "https://site.invalid/s.git", false}});
    world.signIn();
    world.send(AppAction::Command{core::AppCommand::cloneRepository});

    ASSERT_TRUE(world.state.overlay);
    const auto& prompt = std::get<features::ClonePromptState>(world.state.overlay->value);
    ASSERT_EQ(prompt.remote.items().size(), 2u);
    const auto chosen = prompt.selectedRepository();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->fullName, "octo/tool");

    const std::string target = world.repo.makeFolder("clones") + "/" + chosen->name();
    std::vector<AppAction> sent;
    for (auto& job : world.reducer->startClone(world.state, chosen->cloneURL, "  " + target + "  ").jobs) {
        job.work([&sent](AppAction action) { sent.push_back(std::move(action)); }, std::stop_source().get_token());
    }
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], AppAction(features::OverlayAction::CloneFinished{target}));
    EXPECT_EQ(world.repo.git({"show", "HEAD:README.md"}, target), "hello\n");
}

TEST(HostingEndToEndTest, PullRequestsArriveWithTheirChecks) {
    HostingWorld world;
    core::PullRequest ready;
    ready.number = 12;
    ready.title = "Faster start";
    ready.author = "hubot";
    ready.headBranch = "fast-start";
    ready.headSHA = "1111111111111111111111111111111111111111";
    core::PullRequest draft = ready;
    draft.number = 13;
    draft.isDraft = true;
    draft.headBranch = "wip";
    draft.headSHA = "2222222222222222222222222222222222222222";
    world.server.setPullRequests("acme/app", {ready, draft});
    world.server.setCheckRuns("acme/app", ready.headSHA,
                              {{"completed", "success"}, {"completed", "failure"}, {"in_progress", std::nullopt}});
    world.server.setCheckRuns("acme/app", draft.headSHA, {{"completed", "success"}});
    world.signIn();
    world.state.workspace.emplace(world.repo.path(), "app", "git@github.com:acme/app.git");
    world.state.overlay = features::BranchPickerState();

    world.settle(world.reducer->loadPullRequests(world.state));

    const auto& picker = std::get<features::BranchPickerState>(world.state.overlay->value);
    const auto& items = picker.pullRequests.items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].number, 12);
    EXPECT_EQ(items[0].headBranch, "fast-start");
    EXPECT_TRUE(items[1].isDraft);
    EXPECT_EQ(picker.list.selected, 0);
    EXPECT_EQ(picker.pullRequestChecks,
              (std::map<std::int64_t, core::CheckSummary>{{12, {1, 1, 1}}, {13, {1, 0, 0}}}));
}

TEST(HostingEndToEndTest, PublishCreatesTheRepositoryAndPushesToTheAddressItReturns) {
    HostingWorld world;
    const std::string bare = world.repo.makeFolder("published.git");
    world.repo.git({"init", "--bare", "-b", "main", bare});
    // The created repository's clone address is the local bare repository.
    world.server.override("POST", "/api/user/repos",
                          testing::LoopbackHTTPServer::Response::json(
                              201, R"({"full_name":"octo/my-app","clone_url":")" + bare +
                                       R"(","private":true,"fork":false,"id":5})"));
    world.signIn();
    auto& workspace = world.state.workspace.emplace(world.repo.path(), "my app", std::nullopt);
    workspace.status.branch.head = "main";
    workspace.status.branch.objectID = world.repo.revParse("HEAD");

    world.settle(world.reducer->openPublish(world.state, "my app"));
    const auto form = std::get<features::PublishRepositoryState>(world.state.overlay->value);
    world.settle(world.reducer->submitPublish(world.state, form));

    std::vector<std::string> bodies;
    for (const auto& request : world.server.http().requests()) {
        if (request.method == "POST" && request.path == "/api/user/repos") bodies.push_back(request.body);
    }
    ASSERT_EQ(bodies.size(), 1u);
    EXPECT_NE(bodies[0].find(R"("name":"my-app")"), std::string::npos) << bodies[0];
    EXPECT_NE(bodies[0].find(R"("private":true)"), std::string::npos) << bodies[0];
    EXPECT_EQ(world.state.workspace->remoteURL, bare);
    EXPECT_EQ(world.repo.git({"rev-parse", "main"}, bare), world.repo.revParse("HEAD") + "\n");
    EXPECT_EQ(world.repo.git({"rev-parse", "--abbrev-ref", "main@{upstream}"}), "origin/main\n");
}

}  // namespace
}  // namespace tarv::app
