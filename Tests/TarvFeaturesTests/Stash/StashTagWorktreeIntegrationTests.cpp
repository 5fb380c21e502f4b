// Stashes, tags and worktrees on a real temporary repository through the
// live repository client and executor, each result checked with git.
// Actions that reach these flows through the overlay reducer are played by
// calling the flow's member on a copy of the store's state and running its
// job on this thread; what the job sends goes to the store.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Support/LiveStore.hpp"
#include "TarvStorage/Stores/JSONRepositoryRegistry.hpp"

namespace tarv::features {
namespace {

// The live adapters on a temporary repository with git isolated in its
// temporary home (as in the launch integration test).
struct LiveWorld : testing::LiveStore {
    std::optional<Dependencies> dependencies;

    LiveWorld() {
        repo.writeFile("README.md", "hello\n");
        repo.commitAll("First");
        const std::string stateFolder = repo.makeFolder("state");
        connect();
        dependencies = liveGit();
        dependencies->registry = std::make_shared<storage::JSONRepositoryRegistry>(files, stateFolder);
        open(AppState(), *dependencies);
    }

    // Calls a member of the flows on a copy of the state, runs its jobs on
    // this thread through the live client and sends what they report to the
    // store.
    void play(const std::function<AppEffect(const AppReducer&, AppState&)>& member) {
        AppReducer reducer(*dependencies);
        AppState copy = state();
        const AppEffect effect = member(reducer, copy);
        std::vector<AppAction> sent;
        for (const auto& job : effect.jobs) {
            if (job.id == std::optional<std::string>("toast")) continue;
            job.work([&](AppAction action) { sent.push_back(std::move(action)); }, std::stop_token());
        }
        for (auto& action : sent) store->send(std::move(action));
    }
};

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        result.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return result;
}

TEST(StashTagWorktreeIntegrationTest, StashesTagsAndWorktreesAreMadeAndRemovedInTheRealRepository) {
    LiveWorld world;
    world.store->send(AppAction::OpenRepository{world.repo.path()});
    ASSERT_TRUE(world.pumpUntil([&] { return world.state().workspace && world.state().workspace->isStatusLoaded; }));

    // Stash a change: the working tree is clean again and git holds one
    // stash named after the branch.
    world.repo.writeFile("README.md", "changed\n");
    world.store->send(WorkspaceAction::FilesChanged{});
    ASSERT_TRUE(world.pumpUntil([&] { return !world.state().workspace->status.files.empty(); }));
    world.store->send(AppAction::Command{core::AppCommand::stashChanges});
    ASSERT_TRUE(world.pumpUntil([&] {
        return world.count<WorkspaceAction::StashOperationDone>() == 1 &&
               world.state().workspace->stashes.size() == 1 && !world.state().workspace->isStashing;
    }));
    EXPECT_EQ(world.repo.readFile("README.md"), "hello\n");
    const auto stashList = lines(world.repo.git({"stash", "list"}));
    ASSERT_EQ(stashList.size(), 1u);
    EXPECT_NE(stashList[0].find("main \u00B7 "), std::string::npos) << stashList[0];

    // Drop it from the picker.
    world.store->send(AppAction::Command{core::AppCommand::showStashes});
    world.play([](const AppReducer& reducer, AppState& state) {
        return reducer.dropSelectedStash(state, std::get<StashPickerState>(state.overlay->value));
    });
    EXPECT_EQ(world.repo.git({"stash", "list"}), "");
    EXPECT_TRUE(world.state().workspace->stashes.empty());
    EXPECT_FALSE(world.state().workspace->isStashing);

    // Tag the commit, then delete the tag from the picker.
    const std::string head = world.repo.revParse("HEAD");
    world.store->send(WorkspaceAction::CreateTag{"v1.0", head});
    ASSERT_TRUE(world.pumpUntil([&] { return world.count<WorkspaceAction::BranchOperationDone>() == 1; }));
    EXPECT_EQ(world.repo.revParse("v1.0^{commit}"), head);
    ASSERT_TRUE(world.pumpUntil([&] { return world.state().workspace->tags.size() == 1; }));
    world.store->send(AppAction::Command{core::AppCommand::showTags});
    world.play([](const AppReducer& reducer, AppState& state) {
        return reducer.deleteSelectedTag(state, std::get<TagPickerState>(state.overlay->value));
    });
    EXPECT_EQ(world.repo.git({"tag", "--list"}), "");

    // Add a worktree for a new branch beside the repository.
    const NewWorktreeState prompt(core::EditableText("feature/x", false), world.repo.path());
    const std::string destination = prompt.destination();
    EXPECT_EQ(destination, world.repo.root() + "/repo-feature-x");
    world.play([&](const AppReducer& reducer, AppState& state) { return reducer.addWorktree(state, prompt); });
    EXPECT_TRUE(std::filesystem::exists(destination + "/README.md"));
    EXPECT_NE(world.repo.git({"worktree", "list", "--porcelain"}).find("worktree " + destination + "\n"),
              std::string::npos);
    EXPECT_NE(world.repo.git({"branch", "--list", "feature/x"}), "");
    world.store->send(AppAction::Command{core::AppCommand::showWorktrees});
    ASSERT_TRUE(world.pumpUntil([&] {
        const auto* picker = std::get_if<WorktreePickerState>(&world.state().overlay->value);
        return picker && picker->worktrees.size() == 2;
    }));

    // The new worktree opened through a symbolic link to its folder is still
    // the open one: refused, and git keeps it.
    const std::string link = world.repo.root() + "/link-to-worktree";
    std::filesystem::create_directory_symlink(destination, link);
    world.play([&](const AppReducer& reducer, AppState& state) {
        state.workspace->path = link;
        WorktreePickerState picker = std::get<WorktreePickerState>(state.overlay->value);
        picker.list.selected = picker.worktrees[0].isMain ? 1 : 0;
        return reducer.removeSelectedWorktree(state, picker);
    });
    EXPECT_EQ(world.state().toast->text, core::Text::worktreeCannotRemove());
    EXPECT_TRUE(std::filesystem::exists(destination));

    // Removed from the repository that is open.
    world.play([&](const AppReducer& reducer, AppState& state) {
        WorktreePickerState picker = std::get<WorktreePickerState>(state.overlay->value);
        picker.list.selected = picker.worktrees[0].isMain ? 1 : 0;
        return reducer.removeSelectedWorktree(state, picker);
    });
    EXPECT_FALSE(std::filesystem::exists(destination));
    EXPECT_EQ(world.repo.git({"worktree", "list", "--porcelain"}).find(destination), std::string::npos);
    EXPECT_EQ(world.state().toast->text, core::Text::toastWorktreeRemoved(destination));
}

}  // namespace
}  // namespace tarv::features
