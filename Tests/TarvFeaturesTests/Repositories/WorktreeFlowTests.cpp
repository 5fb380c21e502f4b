// Worktrees: the picker's refreshed list keeping its selection in range,
// adding one beside the repository, removing the selected one (never the
// main worktree nor the open one, whatever the spelling of its path), and
// what a change reloads.
#include <gtest/gtest.h>

#include "../Stash/DirectReducer.hpp"
#include "../Workspace/WorkspaceFixtures.hpp"
#include "TarvCore/Errors/GitError.hpp"

namespace tarv::features {
namespace {

using namespace fixtures;
using Actions = std::vector<AppAction>;

core::Worktree worktree(std::string path, bool isMain = false) {
    return core::Worktree{std::move(path), "topic", "abc", isMain};
}

std::vector<core::Worktree> worktrees(int count) {
    std::vector<core::Worktree> list;
    for (int i = 0; i < count; ++i) list.push_back(worktree("/w/" + std::to_string(i), i == 0));
    return list;
}

const WorktreePickerState* openPicker(const AppState& state) {
    return state.overlay ? std::get_if<WorktreePickerState>(&state.overlay->value) : nullptr;
}

TEST(WorktreesLoadedTest, ARefreshedListKeepsTheSelectionInRange) {
    struct Case {
        const char* name;
        int before;
        std::optional<std::int64_t> selected;
        int after;
        std::optional<std::int64_t> expected;
    };
    const Case cases[] = {
        {"the same length keeps the row", 3, 1, 3, 1},
        {"shorter than the selection: its last row", 4, 3, 2, 1},
        {"empty: nothing selected", 3, 2, 0, std::nullopt},
        {"no selection before: the first row", 0, std::nullopt, 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withWorkspace();
        state.overlay = WorktreePickerState(worktrees(c.before), core::ListScroll{.offset = 4, .selected = c.selected});
        tarv::testing::AppStoreHarness h(std::move(state));
        EXPECT_EQ(sendWorkspace(h, WorkspaceAction::WorktreesLoaded{worktrees(c.after)}), Ids{});
        ASSERT_TRUE(openPicker(h.state()));
        EXPECT_EQ(openPicker(h.state())->worktrees, worktrees(c.after));
        EXPECT_EQ(openPicker(h.state())->list, (core::ListScroll{.offset = 0, .selected = c.expected}));
    }
}

TEST(WorktreesLoadedTest, AListArrivingWithAnotherOverlayOpenChangesNothing) {
    AppState state = withWorkspace();
    state.overlay = TagPickerState(std::vector<core::Tag>{});
    tarv::testing::AppStoreHarness h(std::move(state));
    sendWorkspace(h, WorkspaceAction::WorktreesLoaded{worktrees(2)});
    EXPECT_EQ(h.state().overlay->kind(), Overlay::Kind::tags);
}

TEST(WorktreeListTest, TheListingJobReportsTheListOrItsFailure) {
    for (const bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "failed" : "listed");
        DirectReducer d;
        d.fakes.repository->answers.worktrees = worktrees(2);
        if (fails) d.fakes.repository->fail("worktrees", core::GitError::invalidOutput("salida"));
        const AppEffect effect = d.reducer.reloadWorktrees("/r");
        EXPECT_EQ(DirectReducer::ids(effect), Ids{"worktrees"});
        const AppAction expected = fails ? AppAction(WorkspaceAction::BranchOperationFailed{"salida"})
                                         : AppAction(WorkspaceAction::WorktreesLoaded{worktrees(2)});
        EXPECT_EQ(DirectReducer::run(effect), Actions{expected});
    }
}

// The open repository is at "/r"; "/links/r" is a symbolic link to it.
TEST(WorktreeRemoveTest, TheMainAndTheOpenWorktreeAreRefusedWhateverTheSpellingOfTheirPath) {
    struct Case {
        const char* name;
        core::Worktree selected;
        Ids jobs;
        // What the job sends; nothing when no job.
        std::optional<AppAction> reported;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"the main worktree", worktree("/main", true), {"toast"}, std::nullopt, {}},
        {"the open worktree", worktree("/r"), {"toast"}, std::nullopt, {}},
        {"the open worktree with a trailing slash", worktree("/r/"), {"toast"}, std::nullopt, {}},
        {"the open worktree through \"..\"", worktree("/x/../r"), {"toast"}, std::nullopt, {}},
        {"the open worktree through a link", worktree("/links/r"), {"worktreeChange"},
         AppAction::Notice{core::Text::worktreeCannotRemove(), true}, {}},
        {"another worktree", worktree("/r-topic"), {"worktreeChange"},
         WorkspaceAction::WorktreeChanged{core::Text::toastWorktreeRemoved("/r-topic")},
         {"removeWorktree /r /r-topic"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withWorkspace();
        state.overlay = WorktreePickerState({worktree("/main", true), c.selected}, core::ListScroll{0, 1});
        DirectReducer d(std::move(state));
        d.fakes.files->addLink("/links/r", "/r");
        const AppEffect effect = d.reducer.removeSelectedWorktree(d.state, *openPicker(d.state));
        EXPECT_EQ(DirectReducer::ids(effect), c.jobs);
        if (c.jobs == Ids{"toast"}) {
            EXPECT_EQ(d.state.toast->text, core::Text::worktreeCannotRemove());
            EXPECT_TRUE(d.state.toast->isError);
        }
        const Actions sent = DirectReducer::run(effect);
        EXPECT_EQ(sent, c.reported ? Actions{*c.reported} : Actions{});
        EXPECT_EQ(d.fakes.repository->calls(), c.calls);
    }
}

TEST(WorktreeRemoveTest, NothingHappensWithoutARepositoryOrASelectedRow) {
    struct Case {
        const char* name;
        std::optional<std::int64_t> selected;
        bool workspace;
    };
    const Case cases[] = {
        {"nothing selected", std::nullopt, true},
        {"selection past the end", 2, true},
        {"no repository open", 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withWorkspace();
        if (!c.workspace) state.workspace.reset();
        state.overlay = WorktreePickerState(worktrees(2), core::ListScroll{0, c.selected});
        DirectReducer d(std::move(state));
        EXPECT_TRUE(d.reducer.removeSelectedWorktree(d.state, *openPicker(d.state)).isEmpty());
        EXPECT_FALSE(d.state.toast);
    }
}

TEST(WorktreeAddTest, AddsTheTrimmedBranchInTheFolderBesideTheRepository) {
    struct Case {
        const char* name;
        bool fails;
        AppAction reported;
    };
    const Case cases[] = {
        {"added", false, WorkspaceAction::WorktreeChanged{core::Text::toastWorktreeCreated("/work/app-feature-login")}},
        {"refused", true, WorkspaceAction::BranchOperationFailed{"ya existe"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DirectReducer d;
        if (c.fails) d.fakes.repository->fail("addWorktree", core::GitError::invalidArgument("ya existe"));
        const NewWorktreeState prompt(core::EditableText("  feature/login ", false), "/work/app/");
        const AppEffect effect = d.reducer.addWorktree(d.state, prompt);
        EXPECT_EQ(DirectReducer::ids(effect), Ids{"worktreeChange"});
        EXPECT_EQ(DirectReducer::run(effect, DirectReducer::stopped()), Actions{c.reported});
        EXPECT_EQ(d.fakes.repository->calls(),
                  (std::vector<std::string>{"addWorktree /work/app/ /work/app-feature-login feature/login"}));
    }
}

TEST(WorktreeChangedTest, AChangeShowsItsToastAndReloadsWorktreesAndBranches) {
    tarv::testing::AppStoreHarness h(withWorkspace());
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::WorktreeChanged{core::Text::toastWorktreeRemoved("/w")}),
              (Ids{"toast", "worktrees", "branches"}));
    EXPECT_EQ(h.state().toast->text, core::Text::toastWorktreeRemoved("/w"));
    EXPECT_FALSE(h.state().toast->isError);
}

}  // namespace
}  // namespace tarv::features
