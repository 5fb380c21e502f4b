#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "TarvFeatures/App/AppState.hpp"

namespace tarv::features {
namespace {

using Phase = AppState::Phase;
using Step = OnboardingState::Step;

core::CredentialPrompt prompt(core::CredentialPrompt::Kind kind) {
    return core::CredentialPrompt{7, kind, "Password for 'https://example.com': ", "https://example.com"};
}

PublishRepositoryState publishForm(PublishRepositoryState::Field field) {
    PublishRepositoryState form("app");
    form.field = field;
    return form;
}

AppState onboarded() {
    AppState state;
    state.onboarding.step = Step::done();
    return state;
}

TEST(AppStateTests, FreshStateHasItsInitialValues) {
    const AppState state(core::Language::es);
    EXPECT_EQ(state.onboarding, OnboardingState{});
    EXPECT_TRUE(state.onboarding.step.is<Step::Idle>());
    EXPECT_TRUE(state.repositories.empty());
    EXPECT_EQ(state.workspace, std::nullopt);
    EXPECT_EQ(state.overlay, std::nullopt);
    EXPECT_EQ(state.toast, std::nullopt);
    EXPECT_EQ(state.language, core::Language::es);
    EXPECT_EQ(state.viewports, Viewports{});
    EXPECT_EQ(state.now, 0);
    EXPECT_FALSE(state.shouldQuit);
    EXPECT_EQ(state.externalRequest, std::nullopt);
    EXPECT_TRUE(state.isWindowFocused);
    EXPECT_EQ(state.session, std::nullopt);
    EXPECT_FALSE(state.gitTokenRejected);
    EXPECT_FALSE(state.answeredGitWithSession);
    EXPECT_EQ(state.toastCounter, 0);
    EXPECT_FALSE(state.registryLoaded);
    EXPECT_FALSE(state.startResolved);
    EXPECT_EQ(state.startRepositoryPath, std::nullopt);
    EXPECT_FALSE(state.launchHandled);
    EXPECT_TRUE(state.pendingCredentials.empty());

    EXPECT_EQ(AppState().language, core::Language::en);
    EXPECT_EQ(state.phase(), Phase::onboarding);
    EXPECT_FALSE(state.isEditingText());
}

TEST(AppStateTests, PhaseFollowsOnboardingWorkspaceAndLaunchProgress) {
    struct Row {
        const char* name;
        Step step;
        bool workspace;
        bool launchHandled;
        bool registryLoaded;
        bool startResolved;
        Phase expected;
    };
    const Row rows[] = {
        {"idle", Step::idle(), false, false, false, false, Phase::onboarding},
        {"checking", Step::checking(), false, false, true, true, Phase::onboarding},
        {"git missing", Step::gitMissing(), false, true, true, true, Phase::onboarding},
        {"git too old", Step::gitTooOld("2.20.0", "2.30.0"), false, false, false, false, Phase::onboarding},
        {"failed", Step::failed("boom"), false, false, false, false, Phase::onboarding},
        {"identity, even with a workspace", Step::identity(), true, true, true, true, Phase::onboarding},
        {"done, nothing reported", Step::done(), false, false, false, false, Phase::launching},
        {"done, registry only", Step::done(), false, false, true, false, Phase::launching},
        {"done, start only", Step::done(), false, false, false, true, Phase::launching},
        {"done, both reported", Step::done(), false, false, true, true, Phase::welcome},
        {"done, launch handled", Step::done(), false, true, false, false, Phase::welcome},
        {"done, workspace open", Step::done(), true, false, false, false, Phase::workspace},
        {"done, workspace open and launch handled", Step::done(), true, true, true, true, Phase::workspace},
    };
    for (const auto& row : rows) {
        AppState state;
        state.onboarding.step = row.step;
        if (row.workspace) state.workspace.emplace("/r", "r", std::nullopt);
        state.launchHandled = row.launchHandled;
        state.registryLoaded = row.registryLoaded;
        state.startResolved = row.startResolved;
        EXPECT_EQ(state.phase(), row.expected) << row.name;
    }
}

TEST(AppStateTests, EditingTextByOverlayKind) {
    using Kind = core::CredentialPrompt::Kind;
    using Field = PublishRepositoryState::Field;
    struct Row {
        const char* name;
        Overlay overlay;
        bool expected;
    };
    const Row rows[] = {
        {"repositories", RepositoryPickerState{}, true},
        {"branches", BranchPickerState(BranchPickerState::Mode::merge), true},
        {"palette", PaletteState{}, true},
        {"confirmDiscard", Overlay::ConfirmDiscard{}, false},
        {"confirmDeleteBranch", DeleteBranchState{"topic"}, false},
        {"message", Overlay::message(core::Text::raw("t"), core::Text::raw("b")), false},
        {"newBranch", NewBranchState(), true},
        {"addRepository", PathPromptState(), true},
        {"coAuthor", CoAuthorPromptState{}, true},
        {"signIn", SignInState{}, false},
        {"newTag", NewTagState(std::string("abc")), true},
        {"tags", TagPickerState{}, false},
        {"worktrees", WorktreePickerState{}, false},
        {"newWorktree", NewWorktreeState(std::string("/r")), true},
        {"clone", ClonePromptState("/home/me"), true},
        {"publishRepository, name", publishForm(Field::name), true},
        {"publishRepository, description", publishForm(Field::description), true},
        {"publishRepository, visibility", publishForm(Field::visibility), false},
        {"contextMenu", ContextMenuState({core::AppCommand::copyPath}, 3, 4), false},
        {"credentials, username", CredentialPromptState(prompt(Kind::username)), true},
        {"credentials, password", CredentialPromptState(prompt(Kind::password)), true},
        {"credentials, passphrase", CredentialPromptState(prompt(Kind::passphrase)), true},
        {"credentials, confirmation", CredentialPromptState(prompt(Kind::confirmation)), false},
        {"stashes", StashPickerState({}), false},
        {"help", Overlay::Help{}, false},
    };
    for (const auto& row : rows) {
        // The overlay decides whatever is under it: an identity form below
        // and a focused summary field do not count.
        AppState state;
        state.onboarding.step = Step::identity();
        state.overlay = row.overlay;
        EXPECT_EQ(state.isEditingText(), row.expected) << row.name;

        AppState inWorkspace = onboarded();
        inWorkspace.workspace.emplace("/r", "r", std::nullopt);
        inWorkspace.workspace->focus = WorkspaceFocus::summary;
        inWorkspace.overlay = row.overlay;
        EXPECT_EQ(inWorkspace.isEditingText(), row.expected) << row.name << " over a workspace";
    }
}

TEST(AppStateTests, EditingTextDuringOnboardingOnlyOnTheIdentityStep) {
    const Step steps[] = {Step::idle(), Step::checking(), Step::gitMissing(), Step::gitTooOld("1", "2"),
                          Step::failed("x"), Step::identity()};
    for (const auto& step : steps) {
        AppState state;
        state.onboarding.step = step;
        // A workspace under an unfinished onboarding does not take keys.
        state.workspace.emplace("/r", "r", std::nullopt);
        state.workspace->focus = WorkspaceFocus::summary;
        EXPECT_EQ(state.isEditingText(), step.is<Step::Identity>()) << step.value.index();
    }
}

TEST(AppStateTests, EditingTextByWorkspaceFocus) {
    struct Row {
        WorkspaceFocus focus;
        WorkspaceTab tab;
        bool filterFocused;
        bool expected;
    };
    const Row rows[] = {
        {WorkspaceFocus::summary, WorkspaceTab::changes, false, true},
        {WorkspaceFocus::description, WorkspaceTab::changes, false, true},
        {WorkspaceFocus::files, WorkspaceTab::changes, true, true},
        {WorkspaceFocus::files, WorkspaceTab::changes, false, false},
        {WorkspaceFocus::files, WorkspaceTab::history, true, false},
        {WorkspaceFocus::diff, WorkspaceTab::changes, true, false},
        {WorkspaceFocus::historyList, WorkspaceTab::history, true, false},
        {WorkspaceFocus::historyFiles, WorkspaceTab::history, false, false},
        {WorkspaceFocus::historyDiff, WorkspaceTab::history, false, false},
    };
    for (const auto& row : rows) {
        AppState state = onboarded();
        state.workspace.emplace("/r", "r", std::nullopt);
        state.workspace->focus = row.focus;
        state.workspace->tab = row.tab;
        state.workspace->changes.isFilterFocused = row.filterFocused;
        EXPECT_EQ(state.isEditingText(), row.expected)
            << static_cast<int>(row.focus) << " tab " << static_cast<int>(row.tab) << " filter " << row.filterFocused;
    }
}

TEST(AppStateTests, NoTextEditingOnTheWelcomeScreen) {
    AppState state = onboarded();
    state.launchHandled = true;
    EXPECT_EQ(state.phase(), Phase::welcome);
    EXPECT_FALSE(state.isEditingText());
}

TEST(AppStateTests, CopiesAndComparesFieldWise) {
    AppState state = onboarded();
    state.workspace.emplace("/r", "r", std::nullopt);
    state.overlay = Overlay::message(core::Text::raw("t"), core::Text::raw("b"));
    state.toast = Toast{1, core::Text::raw("hi"), false};
    AppState copy = state;
    EXPECT_EQ(copy, state);
    copy.workspace->summary.setText("x");
    EXPECT_NE(copy, state);
    AppState moved = std::move(copy);
    EXPECT_EQ(moved.workspace->summary.text(), "x");
}

}  // namespace
}  // namespace tarv::features
