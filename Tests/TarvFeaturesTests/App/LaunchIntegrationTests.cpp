// Launch and open with the real adapters: real git in a temporary
// repository through the live repository client, the inotify watcher, the
// JSON registry in a temporary state folder, the live executor and the main
// queue, pumped on this thread as the program's loop does.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Support/LiveStore.hpp"
#include "TarvFeatures/Onboarding/OnboardingReducer.hpp"
#include "TarvStorage/Stores/JSONRepositoryRegistry.hpp"

namespace tarv::features {
namespace {

using testing::TempGitRepo;

// The live adapters on a temporary repository with git isolated in its
// temporary home; the ports that launch and open do not use stay fakes.
// The program's git reads `globalConfiguration` as its global
// configuration when given (the repository's own set-up, with an identity,
// otherwise).
struct LiveWorld : testing::LiveStore {
    std::string stateFolder;
    std::shared_ptr<storage::JSONRepositoryRegistry> registry;

    explicit LiveWorld(const std::optional<std::string>& globalConfiguration = std::nullopt) {
        repo.writeFile("README.md", "hello\n");
        repo.writeFile("src/main.c", "int main(void) { return 0; }\n");
        repo.commitAll("First");
        repo.writeFile("README.md", "hello again\n");
        repo.commitAll("Second");
        repo.writeFile("notes.txt", "untracked\n");
        stateFolder = repo.makeFolder("state");
        connect(globalConfiguration);
        registry = std::make_shared<storage::JSONRepositoryRegistry>(files, stateFolder);
        Dependencies dependencies = liveGit();
        dependencies.registry = registry;
        open(AppState(), dependencies);
    }

    // The first reduced action of case `Case` (inside a workspace action)
    // that `matches`; null when none.
    template <class Case>
    const Case* reduced(const std::function<bool(const Case&)>& matches = nullptr) const {
        for (const auto& reduction : log->reductions) {
            const auto* workspace = std::get_if<WorkspaceAction>(&reduction.action.value);
            const auto* found = workspace ? std::get_if<Case>(&workspace->value) : nullptr;
            if (found && (!matches || matches(*found))) return found;
        }
        return nullptr;
    }
};

bool lists(const core::WorkingTreeStatus& status, const std::string& path) {
    return std::any_of(status.files.begin(), status.files.end(),
                       [&](const core::FileChange& file) { return file.path == path; });
}

TEST(LaunchIntegrationTest, LaunchOpensTheStartRepositoryLoadsItAndWatchesItsWorkingTree) {
    LiveWorld world;
    world.store->send(AppAction::Launch{world.repo.path() + "/src"});

    // The environment check passes (the isolated configuration has an
    // identity), the start directory resolves to the repository's root, and
    // the open's first status and history page come back.
    ASSERT_TRUE(world.pumpUntil([&] {
        return world.reduced<WorkspaceAction::StatusLoaded>() && world.reduced<WorkspaceAction::HistoryLoaded>();
    }));
    const AppState& state = world.store->state();
    EXPECT_TRUE(state.onboarding.step.is<OnboardingState::Step::Done>());
    ASSERT_TRUE(state.workspace);
    EXPECT_EQ(state.workspace->path, world.repo.path());
    EXPECT_EQ(state.phase(), AppState::Phase::workspace);

    const auto& status = world.reduced<WorkspaceAction::StatusLoaded>()->status;
    EXPECT_EQ(status.branch.head, std::optional<std::string>("main"));
    EXPECT_TRUE(lists(status, "notes.txt"));
    const auto* history = world.reduced<WorkspaceAction::HistoryLoaded>();
    ASSERT_EQ(history->commits.size(), 2u);
    EXPECT_EQ(history->commits[0].summary, "Second");
    EXPECT_EQ(history->skip, 0);

    // The registry file holds the repository (as the last save wrote it:
    // the open's, or a later one with the remote's URL).
    ASSERT_TRUE(world.pumpUntil([&] { return world.registry->load(std::stop_token{}) == state.repositories; }));
    EXPECT_EQ(state.repositories.at(0).path, world.repo.path());

    // The workspace holds them.
    ASSERT_TRUE(world.pumpUntil([&] { return state.workspace->isStatusLoaded; }));
    EXPECT_TRUE(lists(state.workspace->status, "notes.txt"));
    EXPECT_EQ(state.workspace->history.commits.size(), 2u);

    // A file written in the working tree reaches the state as a new status,
    // through the real watcher.
    world.repo.writeFile("later.txt", "written after the open\n");
    EXPECT_TRUE(world.pumpUntil([&] { return world.reduced<WorkspaceAction::FilesChanged>() != nullptr; }));
    EXPECT_TRUE(world.pumpUntil([&] { return lists(state.workspace->status, "later.txt"); }));
}

TEST(LaunchIntegrationTest, AStartDirectoryOutsideARepositoryShowsTheWelcomeScreenWithThePrunedRegistry) {
    LiveWorld world;
    const std::string gone = world.repo.makeFolder("gone");
    world.registry->save({core::RepositoryEntry{world.repo.path(), "repo", std::nullopt, 1, std::nullopt},
                          core::RepositoryEntry{gone, "gone", std::nullopt, 2, std::nullopt}},
                         std::stop_token{});
    world.store->send(AppAction::Launch{world.stateFolder});
    ASSERT_TRUE(world.pumpUntil([&] { return world.store->state().phase() == AppState::Phase::welcome; }));
    const AppState& state = world.store->state();
    EXPECT_FALSE(state.workspace);
    ASSERT_EQ(state.repositories.size(), 1u);
    EXPECT_EQ(state.repositories[0].path, world.repo.path());
    ASSERT_TRUE(world.pumpUntil([&] { return world.store->state().toast.has_value(); }));
    EXPECT_EQ(world.store->state().toast->text, core::Text::toastRepositoriesMissing({"gone"}));
    EXPECT_EQ(world.registry->load(std::stop_token{}).size(), 1u);
}

TEST(LaunchIntegrationTest, OpeningRegisteredRepositoriesOpensTheOneThatIsThereAndDropsTheOneThatIsGone) {
    LiveWorld world;
    const std::string gone = world.repo.makeFolder("gone");
    world.store->send(AppAction::Launch{world.stateFolder});
    ASSERT_TRUE(world.pumpUntil([&] { return world.store->state().phase() == AppState::Phase::welcome; }));
    // The folder vanishes after the launch loaded the registry.
    world.store->send(AppAction::RegistryLoaded{{core::RepositoryEntry{gone, "gone", std::nullopt, 2, std::nullopt}}});
    std::filesystem::remove_all(gone);

    world.store->send(AppAction::OpenRepository{gone});
    ASSERT_TRUE(world.pumpUntil([&] { return world.store->state().repositories.empty(); }));
    EXPECT_FALSE(world.store->state().workspace);
    ASSERT_TRUE(world.pumpUntil([&] { return world.registry->load(std::stop_token{}).empty() &&
                                              std::filesystem::exists(world.stateFolder + "/repositories.json"); }));

    world.store->send(AppAction::OpenRepository{world.repo.path()});
    ASSERT_TRUE(world.pumpUntil([&] { return world.store->state().workspace.has_value(); }));
    EXPECT_EQ(world.store->state().workspace->path, world.repo.path());
    ASSERT_TRUE(world.pumpUntil([&] { return world.registry->load(std::stop_token{}).size() == 1; }));
    EXPECT_EQ(world.registry->load(std::stop_token{})[0].path, world.repo.path());
}

TEST(LaunchIntegrationTest, OnboardingWithoutAnIdentitySavesTheFormIntoGitsGlobalConfiguration) {
    TempGitRepo scratch(TempGitRepo::Start::emptyFolder);
    const std::string global = scratch.makeFolder("bare-home") + "/gitconfig";
    LiveWorld world(global);
    world.store->send(AppAction::Launch{world.repo.path()});
    ASSERT_TRUE(world.pumpUntil(
        [&] { return world.store->state().onboarding.step.is<OnboardingState::Step::Identity>(); }));
    EXPECT_TRUE(world.store->state().onboarding.storeCredentials);  // no helper configured
    EXPECT_EQ(world.store->state().phase(), AppState::Phase::onboarding);

    for (auto& action : std::vector<AppAction>{
             OnboardingAction::edit(core::TextEdit::insert(" Ada Lovelace ")),
             OnboardingAction::focusField(OnboardingState::Field::email),
             OnboardingAction::edit(core::TextEdit::insert("ada@example.com")),
             OnboardingAction::saveTapped(),
         })
        world.store->send(std::move(action));
    // Saved: the start repository opens behind the finished onboarding.
    ASSERT_TRUE(world.pumpUntil([&] { return world.store->state().workspace.has_value(); }));
    EXPECT_TRUE(world.store->state().onboarding.step.is<OnboardingState::Step::Done>());

    auto configured = [&](const std::string& key) {
        return world.repo.run({"config", "--file", global, "--get", key}).out;
    };
    EXPECT_EQ(configured("user.name"), "Ada Lovelace\n");
    EXPECT_EQ(configured("user.email"), "ada@example.com\n");
    EXPECT_EQ(configured("init.defaultBranch"), "main\n");
    EXPECT_EQ(configured("credential.helper"), std::string(OnboardingReducer::credentialHelper) + "\n");
}

}  // namespace
}  // namespace tarv::features
