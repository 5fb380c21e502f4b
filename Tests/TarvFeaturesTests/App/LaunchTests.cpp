// The launch: five jobs at once, and the start repository opened exactly
// once when its three gates have opened, in any order.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "Support/AppStoreHarness.hpp"
#include "Support/ModelFixtures.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvFeatures/Overlay/Overlay.hpp"

namespace tarv::features {
namespace {

using testing::AppStoreHarness;
using testing::commitWithID;
using Ids = std::vector<std::string>;

const Ids openJobs{"status", "openingRest", "watcher", "autofetch", "registry"};

core::EnvironmentReport completeReport() {
    core::EnvironmentReport report;
    report.gitPath = "/usr/bin/git";
    report.gitVersion = core::GitVersion{2, 39, 2};
    report.identity = core::Identity{"Ada", "ada@example.com"};
    report.credentialHelpers = {"cache"};
    report.defaultBranch = "main";
    return report;
}

// How many reductions started the jobs of an open.
int opens(const AppStoreHarness& h) {
    int count = 0;
    for (const auto& reduction : h.log().reductions) {
        if (reduction.jobIds == openJobs) ++count;
    }
    return count;
}

TEST(LaunchTest, StartsTheFiveJobsAndChecksTheEnvironment) {
    AppStoreHarness h;
    h.send(AppAction::Launch{"/work/repo/src"});
    EXPECT_EQ(h.lastJobIds(), (Ids{"-", "-", "-", "credentials", "-"}));
    EXPECT_TRUE(h.state().onboarding.step.is<OnboardingState::Step::Checking>());
    EXPECT_EQ(h.state().phase(), AppState::Phase::onboarding);
}

TEST(LaunchTest, TheThreeGatesInEveryOrderOpenTheStartRepositoryExactlyOnce) {
    const std::array<AppAction, 3> gates{
        AppAction(OnboardingAction::reportLoaded(completeReport())),
        AppAction(AppAction::RegistryLoaded{{}}),
        AppAction(AppAction::StartRepositoryResolved{"/work/repo"}),
    };
    std::array<int, 3> order{0, 1, 2};
    do {
        SCOPED_TRACE(::testing::Message() << order[0] << order[1] << order[2]);
        AppStoreHarness h;
        h.send(AppAction::Launch{"/work/repo/src"});
        h.send(gates[order[0]]);
        h.send(gates[order[1]]);
        EXPECT_EQ(opens(h), 0);
        EXPECT_FALSE(h.state().launchHandled);
        h.send(gates[order[2]]);
        EXPECT_EQ(h.lastJobIds(), openJobs);
        ASSERT_TRUE(h.state().workspace);
        EXPECT_EQ(h.state().workspace->path, "/work/repo");
        EXPECT_EQ(h.state().phase(), AppState::Phase::workspace);

        // Later gate events (onboarding goes on, a repeated report) open nothing.
        h.send(OnboardingAction::skipTapped());
        h.send(gates[order[2]]);
        EXPECT_EQ(opens(h), 1);
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST(LaunchTest, ThroughTheJobsTheStartRepositoryOpensAndLoads) {
    AppStoreHarness h;
    h.fakes.git->answers.report = completeReport();
    h.fakes.repository->answers.repositoryRoot = "/work/repo";
    h.fakes.repository->answers.commits = {commitWithID("c1"), commitWithID("c0")};
    h.send(AppAction::Launch{"/work/repo/src"});
    h.settle();
    ASSERT_TRUE(h.state().workspace);
    EXPECT_TRUE(h.state().onboarding.step.is<OnboardingState::Step::Done>());
    EXPECT_EQ(h.fakes.repository->calls("repositoryRoot"), Ids{"repositoryRoot /work/repo/src"});
    EXPECT_EQ(h.fakes.repository->calls("history"), Ids{"history /work/repo 0 100"});
    EXPECT_EQ(opens(h), 1);
}

TEST(LaunchTest, AStartDirectoryOutsideARepositoryGivesTheWelcomeScreenAndNoRepositoryJob) {
    AppStoreHarness h;
    h.fakes.git->answers.report = completeReport();
    h.fakes.repository->answers.repositoryRoot = std::nullopt;
    h.send(AppAction::Launch{"/tmp"});
    h.settle();
    EXPECT_EQ(h.state().phase(), AppState::Phase::welcome);
    EXPECT_TRUE(h.state().launchHandled);
    EXPECT_FALSE(h.state().workspace);
    EXPECT_EQ(opens(h), 0);
    EXPECT_EQ(h.fakes.repository->calls(), Ids{"repositoryRoot /tmp"});
}

// A failure counts as no repository: the welcome screen. Where git ran and
// refused the folder (a repository owned by another user), the welcome
// screen says why in git's words instead of leaving the user to guess.
TEST(LaunchTest, AResolutionFailureCountsAsNoRepository) {
    const std::string refused =
        "fatal: detected dubious ownership in repository at '/work/repo'\n"
        "To add an exception for this directory, call:\n\n\tgit config --global --add safe.directory /work/repo";
    struct Case {
        const char* name;
        core::GitError error;
        bool saysWhy;
    };
    const Case cases[] = {
        {"git missing", core::GitError::gitNotFound(), false},
        {"git refused the folder", core::GitError::commandFailed("git rev-parse --show-toplevel", 128, refused), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h;
        h.fakes.git->answers.report = completeReport();
        h.fakes.repository->fail("repositoryRoot", c.error);
        h.send(AppAction::Launch{"/work/repo"});
        h.settle();
        EXPECT_TRUE(h.state().startResolved);
        EXPECT_EQ(h.state().startRepositoryPath, std::nullopt);
        EXPECT_EQ(h.state().phase(), AppState::Phase::welcome);
        EXPECT_EQ(opens(h), 0);
        const auto* message = h.state().overlay ? std::get_if<Overlay::Message>(&h.state().overlay->value) : nullptr;
        ASSERT_EQ(message != nullptr, c.saysWhy);
        if (!message) continue;
        const std::string body = message->body.english();
        EXPECT_NE(body.find("dubious ownership"), std::string::npos) << body;
        EXPECT_NE(body.find("safe.directory /work/repo"), std::string::npos) << body;
    }
}

TEST(LaunchTest, AWorkspaceAlreadyOpenIsNotReplacedByTheStartRepository) {
    AppStoreHarness h;
    h.send(AppAction::Launch{"/work/start"});
    h.send(AppAction::RepositoryChecked{"/work/chosen", true});
    h.send(OnboardingAction::reportLoaded(completeReport()));
    h.send(AppAction::RegistryLoaded{{}});
    h.send(AppAction::StartRepositoryResolved{"/work/start"});
    EXPECT_TRUE(h.state().launchHandled);
    EXPECT_TRUE(h.lastJobIds().empty());
    EXPECT_EQ(h.state().workspace->path, "/work/chosen");
}

TEST(LaunchTest, CredentialPromptsAreRelayedUntilTheStreamEnds) {
    AppStoreHarness h;
    h.send(AppAction::Launch{"/work/repo"});
    core::CredentialPrompt first{1, core::CredentialPrompt::Kind::username, "Username for 'https://host': ",
                                 "https://host"};
    core::CredentialPrompt second{2, core::CredentialPrompt::Kind::password, "Password: ", std::nullopt};
    h.fakes.credentials->stream()->yield(first);
    h.fakes.credentials->stream()->yield(second);
    h.fakes.credentials->stream()->finish();
    ASSERT_TRUE(h.runJob("credentials"));
    h.drain();
    const auto reduced = h.reducedActions();
    ASSERT_GE(reduced.size(), 2u);
    EXPECT_EQ(reduced[reduced.size() - 2], AppAction(AppAction::CredentialRequested{first}));
    EXPECT_EQ(reduced.back(), AppAction(AppAction::CredentialRequested{second}));
}

TEST(LaunchTest, TheStoredSessionIsLoaded) {
    AppStoreHarness h;
    const core::GitHubSession session{"ada", "Ada", "token"};
    h.fakes.accounts->setSession(session);
    h.send(AppAction::Launch{"/work/repo"});
    h.settle();
    const auto reduced = h.reducedActions();
    EXPECT_NE(std::find(reduced.begin(), reduced.end(), AppAction(AuthAction::SessionLoaded{session})),
              reduced.end());
}

// The registry load at launch drops entries whose folder is gone.
core::RepositoryEntry entry(const std::string& name) {
    return core::RepositoryEntry{"/work/" + name, name, std::nullopt, 100, std::nullopt};
}

TEST(RegistryPruningTest, AllPresentLoadsOnceWithoutSavingOrNotice) {
    AppStoreHarness h;
    h.fakes.registry->answers.entries = {entry("a"), entry("b")};
    h.send(AppAction::Launch{"/tmp"});
    h.settle();
    EXPECT_TRUE(h.fakes.registry->saved().empty());
    EXPECT_EQ(h.state().repositories, (std::vector<core::RepositoryEntry>{entry("a"), entry("b")}));
    EXPECT_FALSE(h.state().toast);
    int loads = 0;
    for (const auto& action : h.reducedActions()) loads += std::holds_alternative<AppAction::RegistryLoaded>(action.value);
    EXPECT_EQ(loads, 1);
}

TEST(RegistryPruningTest, TwoMissingGiveOneNoticeNamingBothInStoredOrderAndOneSave) {
    AppStoreHarness h;
    h.fakes.registry->answers.entries = {entry("a"), entry("b"), entry("c"), entry("d")};
    h.fakes.repository->answers.missingRepositories = {"/work/c", "/work/a"};
    h.send(AppAction::Launch{"/tmp"});
    h.settle({"credentials", "toast"});
    const std::vector<core::RepositoryEntry> kept{entry("b"), entry("d")};
    EXPECT_EQ(h.fakes.registry->saved(), std::vector<std::vector<core::RepositoryEntry>>{kept});
    EXPECT_EQ(h.state().repositories, kept);
    const auto reduced = h.reducedActions();
    const auto loaded = std::find(reduced.begin(), reduced.end(), AppAction(AppAction::RegistryLoaded{kept}));
    ASSERT_NE(loaded, reduced.end());
    ASSERT_NE(loaded + 1, reduced.end());
    EXPECT_EQ(*(loaded + 1), AppAction(AppAction::Notice{core::Text::toastRepositoriesMissing({"a", "c"}), false}));
    EXPECT_EQ(h.state().toast->text, core::Text::toastRepositoriesMissing({"a", "c"}));
}

TEST(RegistryPruningTest, AnUnreadableRegistryIsEmptyAndNotRewritten) {
    AppStoreHarness h;
    h.fakes.registry->fail("load", core::GitError::invalidOutput("bad file"));
    h.send(AppAction::Launch{"/tmp"});
    h.settle();
    EXPECT_TRUE(h.state().registryLoaded);
    EXPECT_TRUE(h.state().repositories.empty());
    EXPECT_TRUE(h.fakes.registry->saved().empty());
}

}  // namespace
}  // namespace tarv::features
