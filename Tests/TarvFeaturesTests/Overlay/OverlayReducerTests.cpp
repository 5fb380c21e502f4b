// The overlay reducer: nothing without an overlay, results dropped once
// their overlay kind is gone, the list gestures, the branch tabs, dismissing
// and confirming each kind with the jobs it cancels or starts, and dropping
// a stash.
#include <gtest/gtest.h>

#include "../Workspace/WorkspaceFixtures.hpp"
#include "Support/AppStoreHarness.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {
namespace {

using namespace fixtures;
using tarv::testing::AppStoreHarness;
using Responses = std::vector<tarv::testing::FakeCredentialBroker::Response>;

core::ListScroll listAt(std::int64_t offset, std::optional<std::int64_t> selected) {
    return core::ListScroll{.offset = offset, .selected = selected};
}

core::CredentialPrompt promptOf(std::int64_t id, core::CredentialPrompt::Kind kind) {
    return core::CredentialPrompt{id, kind, "Password for 'https://host': ", "https://host"};
}

std::vector<core::StashEntry> threeStashes() {
    return {core::StashEntry{"stash@{0}", "a", std::nullopt, 0, "c-a"},
            core::StashEntry{"stash@{1}", "b", std::nullopt, 0, "c-b"},
            core::StashEntry{"stash@{2}", "c", std::nullopt, 0, "c-c"}};
}

// The state after the action, its time set back to the state before, so the
// two compare equal when nothing else changed.
AppState unstamped(const AppStoreHarness& h, const AppState& before) {
    AppState after = h.state();
    after.now = before.now;
    return after;
}

// Nothing changed but the time, and no job started or was cancelled.
void expectUntouched(const AppStoreHarness& h, const AppState& before) {
    EXPECT_TRUE(unstamped(h, before) == before);
    EXPECT_TRUE(h.lastJobIds().empty());
    EXPECT_TRUE(h.lastCancelledIDs().empty());
}

const OverlayAction everyAction[] = {
    OverlayAction::MoveSelection{1},
    OverlayAction::Select{2},
    OverlayAction::SetBranchTab{BranchPickerState::Tab::pullRequests},
    OverlayAction::ApplyFix{core::FailureFix::retry()},
    OverlayAction::PathChecked{"/r2"},
    OverlayAction::RepositoryCreated{"/r2"},
    OverlayAction::CreateRepositoryFailed{core::Text::raw("no")},
    OverlayAction::CloneFinished{"/r2"},
    OverlayAction::CloneFailed{core::Text::raw("no")},
    OverlayAction::FocusPublishField{PublishRepositoryState::Field::description},
    OverlayAction::PublishFinished{"o/r"},
    OverlayAction::PublishFailed{core::Text::raw("no")},
    OverlayAction::Scroll{1},
    OverlayAction::Dismiss{},
    OverlayAction::ActivateSelection{},
    OverlayAction::SwitchCloneField{},
    OverlayAction::Confirm{},
    OverlayAction::Submitted{},
    OverlayAction::CreateRepositoryInstead{},
    OverlayAction::TogglePublishPrivate{},
    OverlayAction::DropSelection{},
};

TEST(OverlayReducerTest, WithoutAnOverlayEveryActionIsIgnored) {
    for (const auto& action : everyAction) {
        SCOPED_TRACE(action.value.index());
        const AppState before = withWorkspace();
        AppStoreHarness h(before);
        h.send(AppAction(action));
        expectUntouched(h, before);
    }
}

TEST(OverlayReducerTest, AResultForAnotherOverlayKindIsDropped) {
    struct Case {
        const char* name;
        Overlay open;
        OverlayAction action;
    };
    const Case cases[] = {
        {"path check answered after the prompt became a clone form", ClonePromptState("/home"),
         OverlayAction::PathChecked{std::nullopt}},
        {"path check with a root", Overlay::Help{}, OverlayAction::PathChecked{"/r2"}},
        {"creation failure", Overlay::message(core::Text::raw("t"), core::Text::raw("b")),
         OverlayAction::CreateRepositoryFailed{core::Text::raw("no")}},
        {"clone failure", PathPromptState(), OverlayAction::CloneFailed{core::Text::raw("no")}},
        {"publish field", Overlay::Help{}, OverlayAction::FocusPublishField{PublishRepositoryState::Field::visibility}},
        {"branch tab", PaletteState(), OverlayAction::SetBranchTab{BranchPickerState::Tab::pullRequests}},
        {"clone field", BranchPickerState(), OverlayAction::SwitchCloneField{}},
        {"publish visibility", ClonePromptState("/home"), OverlayAction::TogglePublishPrivate{}},
        {"create instead", NewBranchState(), OverlayAction::CreateRepositoryInstead{}},
        {"drop on a palette", PaletteState(), OverlayAction::DropSelection{}},
        {"list gesture on a prompt", NewBranchState(), OverlayAction::MoveSelection{1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState before = withWorkspace();
        before.overlay = c.open;
        AppStoreHarness h(before);
        h.send(AppAction(c.action));
        expectUntouched(h, before);
    }
}

TEST(OverlayReducerTest, ResultsChangeTheOverlayTheyBelongTo) {
    const auto path = [](auto change) {
        PathPromptState prompt(true);
        prompt.path = core::EditableText("  /x  ", false);
        prompt.isChecking = true;
        change(prompt);
        return prompt;
    };
    const auto clone = [](auto change) {
        ClonePromptState prompt("/home");
        change(prompt);
        return prompt;
    };
    const auto publish = [](auto change) {
        PublishRepositoryState form("tarv");
        change(form);
        return form;
    };
    struct Case {
        const char* name;
        Overlay given;
        OverlayAction action;
        Overlay expected;
    };
    const Case cases[] = {
        {"no repository at the path: the trimmed path in the error and the offer to create",
         path([](auto&) {}), OverlayAction::PathChecked{std::nullopt}, path([](auto& p) {
             p.isChecking = false;
             p.error = core::Text::notARepository("/x");
             p.offersCreate = true;
         })},
        {"creation failed: the error, still in create mode", path([](auto&) {}),
         OverlayAction::CreateRepositoryFailed{core::Text::raw("denied")}, path([](auto& p) {
             p.isChecking = false;
             p.error = core::Text::raw("denied");
         })},
        {"clone failed", clone([](auto& p) { p.isCloning = true; }), OverlayAction::CloneFailed{core::Text::raw("no")},
         clone([](auto& p) { p.error = core::Text::raw("no"); })},
        {"clone field to the destination", clone([](auto&) {}), OverlayAction::SwitchCloneField{},
         clone([](auto& p) { p.field = ClonePromptState::Field::destination; })},
        {"clone field back to the address", clone([](auto& p) { p.field = ClonePromptState::Field::destination; }),
         OverlayAction::SwitchCloneField{}, clone([](auto&) {})},
        {"publish field", publish([](auto&) {}),
         OverlayAction::FocusPublishField{PublishRepositoryState::Field::visibility},
         publish([](auto& p) { p.field = PublishRepositoryState::Field::visibility; })},
        {"publish failed in the form", publish([](auto& p) { p.isPublishing = true; }),
         OverlayAction::PublishFailed{core::Text::raw("taken")},
         publish([](auto& p) { p.error = core::Text::raw("taken"); })},
        {"publish failed after the form was replaced", Overlay::Help{},
         OverlayAction::PublishFailed{core::Text::raw("taken")},
         Overlay::message(core::Text::syncFailedTitle(), core::Text::raw("taken"))},
        {"visibility toggled", publish([](auto&) {}), OverlayAction::TogglePublishPrivate{},
         publish([](auto& p) { p.isPrivate = false; })},
        {"visibility kept while publishing", publish([](auto& p) { p.isPublishing = true; }),
         OverlayAction::TogglePublishPrivate{}, publish([](auto& p) { p.isPublishing = true; })},
        {"create instead without the offer", path([](auto& p) { p.isCreating = false; }),
         OverlayAction::CreateRepositoryInstead{}, path([](auto& p) { p.isCreating = false; })},
        {"the same branch tab again", BranchPickerState(), OverlayAction::SetBranchTab{BranchPickerState::Tab::branches},
         BranchPickerState()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withWorkspace();
        state.overlay = c.given;
        AppStoreHarness h(std::move(state));
        h.send(AppAction(c.action));
        EXPECT_TRUE(h.state().overlay == c.expected);
        EXPECT_TRUE(h.lastJobIds().empty());
        EXPECT_TRUE(h.lastCancelledIDs().empty());
    }
}

TEST(OverlayReducerTest, RepositoryResultsOpenItWhateverOverlayIsOpen) {
    struct Case {
        const char* name;
        Overlay open;
        OverlayAction action;
    };
    const Case cases[] = {
        {"a found root", PathPromptState(), OverlayAction::PathChecked{"/r2"}},
        {"created", Overlay::Help{}, OverlayAction::RepositoryCreated{"/r2"}},
        {"cloned", PaletteState(), OverlayAction::CloneFinished{"/r2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withWorkspace();
        state.overlay = c.open;
        AppStoreHarness h(std::move(state));
        h.send(AppAction(c.action));
        ASSERT_TRUE(h.state().workspace);
        EXPECT_EQ(h.state().workspace->path, "/r2");
        EXPECT_FALSE(h.state().overlay);
        EXPECT_FALSE(h.lastJobIds().empty());
    }
}

TEST(OverlayReducerTest, ListGesturesUseTheRowsOfTheOpenKind) {
    std::vector<core::PullRequest> pullRequests(4);
    BranchPickerState pullRequestTab;
    pullRequestTab.tab = BranchPickerState::Tab::pullRequests;
    pullRequestTab.pullRequests = PullRequestList::loaded(pullRequests);
    BranchPickerState loadingTab = pullRequestTab;
    loadingTab.pullRequests = PullRequestList::loading();
    struct Case {
        const char* name;
        Overlay given;
        OverlayAction action;
        core::ListScroll expected;
    };
    const Case cases[] = {
        {"a move stops at the last stash", StashPickerState(threeStashes()), OverlayAction::MoveSelection{5},
         listAt(0, 2)},
        {"a selection past the end is clamped", ContextMenuState({core::AppCommand::refresh, core::AppCommand::help}, 0, 0),
         OverlayAction::Select{9}, listAt(0, 1)},
        {"pull requests are the rows of their tab", pullRequestTab, OverlayAction::MoveSelection{2}, listAt(0, 2)},
        {"no rows while the pull requests load", loadingTab, OverlayAction::MoveSelection{1}, listAt(0, std::nullopt)},
        {"a scroll moves the offset, not the selection", TagPickerState(std::vector<core::Tag>(20)),
         OverlayAction::Scroll{5}, listAt(5, 0)},
        {"with no rows nothing is selected", WorktreePickerState(), OverlayAction::MoveSelection{1},
         listAt(0, std::nullopt)},
        // 30 help lines drawn, 8 shown.
        {"the help scrolls over its lines", Overlay::Help{}, OverlayAction::Scroll{5}, listAt(5, std::nullopt)},
        {"the help stops at its last page", Overlay::Help{}, OverlayAction::Scroll{1'000'000}, listAt(22, std::nullopt)},
        {"the help stops at its first line", Overlay::Help{listAt(3, std::nullopt)}, OverlayAction::Scroll{-9},
         listAt(0, std::nullopt)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withWorkspace();
        state.viewports.picker = 8;
        state.viewports.helpLines = 30;
        state.overlay = c.given;
        AppStoreHarness h(std::move(state));
        h.send(AppAction(c.action));
        std::optional<core::ListScroll> list;
        std::visit(
            [&](const auto& payload) {
                if constexpr (requires { payload.list; }) list = payload.list;
            },
            h.state().overlay->value);
        ASSERT_TRUE(list);
        EXPECT_EQ(*list, c.expected);
    }
}

TEST(OverlayReducerTest, SwitchingBranchTabsStartsAtTheFirstRowAndStopsThePullRequestLoads) {
    AppState state = withWorkspace();
    BranchPickerState picker;
    picker.list = listAt(3, 4);
    state.overlay = picker;
    AppStoreHarness h(std::move(state));

    h.send(AppAction(OverlayAction::SetBranchTab{BranchPickerState::Tab::pullRequests}));
    auto* shown = std::get_if<BranchPickerState>(&h.state().overlay->value);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->tab, BranchPickerState::Tab::pullRequests);
    EXPECT_EQ(shown->list, listAt(0, 0)) << "reset even before any pull request is there";
    EXPECT_TRUE(h.lastCancelledIDs().empty());

    h.send(AppAction(OverlayAction::SetBranchTab{BranchPickerState::Tab::branches}));
    shown = std::get_if<BranchPickerState>(&h.state().overlay->value);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->tab, BranchPickerState::Tab::branches);
    EXPECT_EQ(h.lastCancelledIDs(), (Ids{"pullRequests", "pullRequestChecks"}));
}

TEST(OverlayReducerTest, DismissingClosesTheOverlayAndCancelsExactlyTheJobsThatFedIt) {
    struct Case {
        const char* name;
        Overlay open;
        Ids cancelled;
    };
    const Case cases[] = {
        {"sign-in", SignInState(), {"signIn"}},
        {"branch picker", BranchPickerState(BranchPickerState::Mode::rebase), {"pullRequests", "pullRequestChecks"}},
        {"clone form", ClonePromptState("/home"), {"cloneRepositories"}},
        {"palette", PaletteState(), {}},
        {"stash picker", StashPickerState(threeStashes()), {}},
        {"help", Overlay::Help{}, {}},
        {"message", Overlay::message(core::Text::raw("t"), core::Text::raw("b")), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withWorkspace();
        state.overlay = c.open;
        AppStoreHarness h(std::move(state));
        h.send(AppAction(OverlayAction::Dismiss{}));
        EXPECT_FALSE(h.state().overlay);
        EXPECT_EQ(h.lastCancelledIDs(), c.cancelled);
        EXPECT_TRUE(h.lastJobIds().empty());
    }
}

TEST(OverlayReducerTest, DismissingTheSignInLeavesNoQueuedPromptBehind) {
    AppState state = withWorkspace();
    state.overlay = SignInState();
    state.pendingCredentials = {promptOf(4, core::CredentialPrompt::Kind::username)};
    AppStoreHarness h(std::move(state));
    h.send(AppAction(OverlayAction::Dismiss{}));
    EXPECT_EQ(h.lastCancelledIDs(), (Ids{"signIn"}));
    // Whoever resumes the queue, the prompt ends on screen or answered, never
    // waiting unseen.
    const auto* shown = h.state().overlay ? std::get_if<CredentialPromptState>(&h.state().overlay->value) : nullptr;
    h.settle();
    EXPECT_TRUE(shown != nullptr || !h.fakes.credentials->responses().empty());
    EXPECT_TRUE(h.state().pendingCredentials.empty());
}

TEST(OverlayReducerTest, TheCredentialPromptAnswersItsOwnDismissAndConfirm) {
    struct Case {
        const char* name;
        core::CredentialPrompt::Kind kind;
        OverlayAction action;
        std::optional<std::string> answer;
    };
    const Case cases[] = {
        {"dismissing a password cancels it", core::CredentialPrompt::Kind::password, OverlayAction::Dismiss{},
         std::nullopt},
        {"dismissing a host-key question says no", core::CredentialPrompt::Kind::confirmation,
         OverlayAction::Dismiss{}, "no"},
        {"confirming says yes", core::CredentialPrompt::Kind::confirmation, OverlayAction::Confirm{}, "yes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withWorkspace();
        state.overlay = CredentialPromptState(promptOf(1, c.kind));
        state.pendingCredentials = {promptOf(2, core::CredentialPrompt::Kind::password)};
        AppStoreHarness h(std::move(state));
        h.send(AppAction(c.action));
        EXPECT_TRUE(h.state().overlay == Overlay(CredentialPromptState(promptOf(2, core::CredentialPrompt::Kind::password))));
        EXPECT_TRUE(h.state().pendingCredentials.empty());
        h.settle();
        EXPECT_EQ(h.fakes.credentials->responses(), (Responses{{1, c.answer}})) << "answered once";
    }
}

TEST(OverlayReducerTest, ConfirmingClosesOrCarriesOutByKind) {
    core::DeviceCode code;
    code.userCode = "WXYZ-1234";
    code.verificationURL = "https://host/login/device";
    SignInState waiting;
    waiting.status = SignInState::Status::waiting(code);
    struct Case {
        const char* name;
        Overlay open;
        bool withWorkspace;
        bool staysOpen;
        Ids jobs;
    };
    const Case cases[] = {
        {"help closes", Overlay::Help{}, true, false, {}},
        {"a message closes", Overlay::message(core::Text::raw("t"), core::Text::raw("b")), true, false, {}},
        {"a picker closes", PaletteState(), true, false, {}},
        {"discard runs", Overlay::ConfirmDiscard{{changed("a.txt")}}, true, false, {"discard"}},
        {"discard without a repository only closes", Overlay::ConfirmDiscard{{changed("a.txt")}}, false, false, {}},
        {"the sign-in code is copied and its page opened", waiting, true, true, {"-"}},
        {"a sign-in still requesting its code", SignInState(), true, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = c.withWorkspace ? withWorkspace() : AppState();
        state.overlay = c.open;
        AppStoreHarness h(std::move(state));
        h.send(AppAction(OverlayAction::Confirm{}));
        EXPECT_EQ(h.state().overlay.has_value(), c.staysOpen);
        EXPECT_EQ(h.lastJobIds(), c.jobs);
    }

    AppState state = withWorkspace();
    state.overlay = waiting;
    AppStoreHarness h(std::move(state));
    h.fakes.platform->fail("copyToClipboard", core::GitError::invalidArgument("no clipboard tool"));
    h.send(AppAction(OverlayAction::Confirm{}));
    h.settle();
    EXPECT_EQ(h.fakes.platform->calls(),
              (Ids{"copyToClipboard WXYZ-1234", "openURL https://host/login/device"}))
        << "a failed copy still opens the page";
}

TEST(OverlayReducerTest, ConfirmingABranchDeletionClosesAndAsksTheWorkspace) {
    AppState state = withWorkspace();
    state.overlay = DeleteBranchState{"topic", true};
    AppStoreHarness h(std::move(state));
    h.send(AppAction(OverlayAction::Confirm{}));
    EXPECT_FALSE(h.state().overlay);
}

TEST(OverlayReducerTest, DroppingAStashDropsTheSelectedEntryAndKeepsThePicker) {
    AppState state = withWorkspace();
    StashPickerState picker(threeStashes());
    picker.list.selected = 1;
    state.overlay = picker;
    AppStoreHarness h(std::move(state));
    h.send(AppAction(OverlayAction::DropSelection{}));
    EXPECT_EQ(h.lastJobIds(), (Ids{"stash"}));
    // The dropped row leaves the open picker at once.
    ASSERT_TRUE(h.state().overlay);
    const auto* shown = std::get_if<StashPickerState>(&h.state().overlay->value);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->entries.size(), 2U);
    // git lists what is left after the drop.
    h.fakes.repository->answers.stashes = shown->entries;
    ASSERT_TRUE(h.runJob("stash"));
    h.drain();
    EXPECT_EQ(h.fakes.repository->calls("dropStash"), (Ids{"dropStash /r c-b"}));
    EXPECT_TRUE(h.reducedActions().back() ==
                AppAction(WorkspaceAction::StashOperationDone{core::Text::toastStashDropped()}));

    h.fakes.repository->fail("dropStash", core::GitError::invalidArgument("gone"));
    h.send(AppAction(OverlayAction::DropSelection{}));
    ASSERT_TRUE(h.runJob("stash"));
    h.drain();
    const AppAction last = h.reducedActions().back();
    ASSERT_TRUE(std::holds_alternative<WorkspaceAction>(last.value));
    EXPECT_TRUE(std::holds_alternative<WorkspaceAction::StashOperationFailed>(
        std::get<WorkspaceAction>(last.value).value));
}

TEST(OverlayReducerTest, DroppingAStashNeedsARepositoryAndASelectedEntry) {
    struct Case {
        const char* name;
        bool withWorkspace;
        std::optional<std::int64_t> selected;
    };
    const Case cases[] = {
        {"nothing selected", true, std::nullopt},
        {"selection past the end", true, 3},
        {"negative selection", true, -1},
        {"no repository", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = c.withWorkspace ? withWorkspace() : AppState();
        StashPickerState picker(threeStashes());
        picker.list.selected = c.selected;
        state.overlay = picker;
        AppStoreHarness h(std::move(state));
        h.send(AppAction(OverlayAction::DropSelection{}));
        EXPECT_TRUE(h.lastJobIds().empty());
    }
}

}  // namespace
}  // namespace tarv::features
