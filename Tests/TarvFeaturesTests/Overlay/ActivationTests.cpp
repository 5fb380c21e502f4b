// Enter on the open overlay: the selected row carried out, or the overlay's
// natural action, through the Store.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Support/AppStoreHarness.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/Branches/BranchRows.hpp"
#include "TarvFeatures/Palette/PaletteCommands.hpp"

namespace tarv::features {
namespace {

using core::AppCommand;
using tarv::testing::AppStoreHarness;
using Strings = std::vector<std::string>;

const AppAction activate = OverlayAction::ActivateSelection{};

// An open repository on "main" with a second local branch "topic" and a
// remote-only "origin/gone".
AppState workspaceState() {
    AppState state;
    WorkspaceState& w = state.workspace.emplace("/r", "r", std::nullopt);
    w.status.branch.head = "main";
    w.branches = {core::Branch{.name = "main", .isCurrent = true}, core::Branch{.name = "topic"},
                  core::Branch{.name = "origin/gone", .isRemote = true}};
    return state;
}

core::StashEntry stash(std::string reference) {
    core::StashEntry entry;
    entry.commit = "c-" + reference;
    entry.reference = std::move(reference);
    return entry;
}

core::Worktree worktree(std::string path) {
    core::Worktree tree;
    tree.path = std::move(path);
    return tree;
}

core::PullRequest pullRequest(std::int64_t number, std::string branch) {
    core::PullRequest request;
    request.number = number;
    request.headBranch = std::move(branch);
    return request;
}

AppState withOverlay(AppState state, Overlay overlay) {
    state.overlay = std::move(overlay);
    return state;
}

BranchPickerState branchPicker(BranchPickerState::Mode mode, std::int64_t selected) {
    BranchPickerState picker(mode);
    picker.list.selected = selected;
    return picker;
}

// The row of `name` in the branch picker of `state` without a filter.
std::int64_t branchRow(const AppState& state, const std::string& name) {
    const auto rows = BranchRows::selectable(state.workspace->branches, "");
    const auto found = std::find_if(rows.begin(), rows.end(), [&](const core::Branch& b) { return b.name == name; });
    return found - rows.begin();
}

// What `expected` does to the same state with the overlay already closed.
struct Outcome {
    AppState state;
    Strings jobIds;
};
Outcome directly(AppState state, AppAction action) {
    state.overlay.reset();
    AppStoreHarness h(state);
    h.send(std::move(action));
    return {h.state(), h.lastJobIds()};
}

void expectSameOutcome(AppStoreHarness& h, const Outcome& expected) {
    AppState wanted = expected.state;
    wanted.now = h.state().now;
    EXPECT_TRUE(h.state() == wanted);
    EXPECT_EQ(h.lastJobIds(), expected.jobIds);
}

TEST(ActivationTest, NoValidRowDoesNothingAndKeepsTheOverlayOpen) {
    PaletteState unmatched;
    unmatched.query = core::EditableText("zzzz", false);
    ContextMenuState pastTheEnd({AppCommand::renameBranch}, 3, 4, "topic");
    pastTheEnd.list.selected = 1;
    RepositoryPickerState noRepositories;
    BranchPickerState loading(BranchPickerState::Mode::switchBranch);
    loading.tab = BranchPickerState::Tab::pullRequests;
    loading.pullRequests = PullRequestList::loading();
    BranchPickerState failed = loading;
    failed.pullRequests = PullRequestList::failed(core::Text::raw("no"));
    BranchPickerState signedOut = loading;
    signedOut.pullRequests = PullRequestList::signedOut();
    BranchPickerState emptyLoaded = loading;
    emptyLoaded.pullRequests = PullRequestList::loaded({});
    TagPickerState noTags(std::vector<core::Tag>{});
    WorktreePickerState noWorktrees;
    StashPickerState noStashes({});
    StashPickerState negative({stash("stash@{0}")});
    negative.list.selected = -1;

    struct Case {
        const char* name;
        bool withWorkspace;
        Overlay overlay;
    };
    const Case cases[] = {
        {"palette whose query matches nothing", true, unmatched},
        {"context menu past its last item", true, pastTheEnd},
        {"repository picker without repositories", false, noRepositories},
        {"branch picker without a repository", false, branchPicker(BranchPickerState::Mode::switchBranch, 0)},
        {"branch picker past the last branch", true, branchPicker(BranchPickerState::Mode::switchBranch, 3)},
        {"pull requests loading", true, loading},
        {"pull requests failed", true, failed},
        {"pull requests signed out", true, signedOut},
        {"pull requests loaded but none", true, emptyLoaded},
        {"tag picker without tags", true, noTags},
        {"worktree picker without worktrees", true, noWorktrees},
        {"stash picker without stashes", true, noStashes},
        {"stash picker with a negative selection", true, negative},
        {"stash picker without a repository", false, StashPickerState({stash("stash@{0}")})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(withOverlay(c.withWorkspace ? workspaceState() : AppState(), c.overlay));
        AppState expected = h.state();
        h.send(activate);
        expected.now = h.state().now;
        EXPECT_TRUE(h.state() == expected);
        EXPECT_TRUE(h.lastJobIds().empty());
    }
}

TEST(ActivationTest, TheCurrentBranchOnlyClosesThePickerWhenNotDeleting) {
    for (auto mode :
         {BranchPickerState::Mode::switchBranch, BranchPickerState::Mode::merge, BranchPickerState::Mode::rebase}) {
        SCOPED_TRACE(static_cast<int>(mode));
        AppState state = workspaceState();
        AppStoreHarness h(withOverlay(state, branchPicker(mode, branchRow(state, "main"))));
        h.send(activate);
        AppState expected = state;
        expected.now = h.state().now;
        EXPECT_TRUE(h.state() == expected);
        EXPECT_TRUE(h.lastJobIds().empty());
    }
}

TEST(ActivationTest, TheCurrentBranchChosenForDeletionIsRefusedWithAToast) {
    AppState state = workspaceState();
    AppStoreHarness h(withOverlay(state, branchPicker(BranchPickerState::Mode::deleteBranch, branchRow(state, "main"))));
    h.send(activate);
    EXPECT_FALSE(h.state().overlay);
    ASSERT_TRUE(h.state().toast);
    EXPECT_EQ(h.state().toast->text, core::Text::toastCannotDeleteCurrentBranch());
    EXPECT_EQ(h.lastJobIds(), Strings{"toast"});
    EXPECT_TRUE(h.fakes.repository->calls().empty());
}

TEST(ActivationTest, AnotherBranchGoesToTheWorkspaceOnceThePickerIsClosed) {
    struct Case {
        BranchPickerState::Mode mode;
        AppAction direct;
    };
    const Case cases[] = {
        {BranchPickerState::Mode::switchBranch, WorkspaceAction::SwitchBranch{"topic"}},
        {BranchPickerState::Mode::merge, WorkspaceAction::Merge{"topic"}},
        {BranchPickerState::Mode::rebase, WorkspaceAction::Rebase{"topic"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        const AppState state = withOverlay(workspaceState(), branchPicker(c.mode, 0));
        AppState picking = state;
        std::get<BranchPickerState>(picking.overlay->value).list.selected = branchRow(state, "topic");
        AppStoreHarness h(picking);
        h.send(activate);
        expectSameOutcome(h, directly(state, c.direct));
    }
}

TEST(ActivationTest, DeleteModeAsksToDeleteTheChosenBranch) {
    AppState state = workspaceState();
    AppStoreHarness h(withOverlay(state, branchPicker(BranchPickerState::Mode::deleteBranch, branchRow(state, "topic"))));
    h.send(activate);
    EXPECT_TRUE(h.state().overlay == Overlay(DeleteBranchState{"topic", false}));
}

TEST(ActivationTest, APullRequestIsCheckedOutFromTheLoadedList) {
    const core::PullRequest first = pullRequest(7, "feature");
    const core::PullRequest second = pullRequest(9, "fix");
    BranchPickerState picker(BranchPickerState::Mode::switchBranch);
    picker.tab = BranchPickerState::Tab::pullRequests;
    picker.pullRequests = PullRequestList::loaded({first, second});
    picker.list.selected = 1;
    const AppState state = withOverlay(workspaceState(), picker);

    AppStoreHarness h(state);
    h.send(activate);

    tarv::testing::FakePorts fakes;
    const AppReducer reducer(fakes.dependencies());
    AppState expected = state;
    const AppEffect effect = reducer.checkoutPullRequest(expected, second);
    expected.now = h.state().now;
    EXPECT_TRUE(h.state() == expected);
    Strings ids;
    for (const auto& job : effect.jobs) ids.push_back(job.id.value_or("-"));
    EXPECT_EQ(h.lastJobIds(), ids);
}

TEST(ActivationTest, ThePaletteClosesThenRunsTheRowUnderItsQuery) {
    AppState state = workspaceState();
    const auto rows = PaletteCommands::results(state, "");
    const auto branchPickerRow = std::find(rows.begin(), rows.end(), AppCommand::openBranchPicker) - rows.begin();
    PaletteState palette;
    palette.list.selected = branchPickerRow;
    AppStoreHarness h(withOverlay(state, palette));
    h.send(activate);
    // The branch picker the command opens is not closed by the palette's
    // closing.
    EXPECT_TRUE(h.state().overlay == Overlay(BranchPickerState(BranchPickerState::Mode::switchBranch)));

    PaletteState quitting;
    quitting.query = core::EditableText("qit", false);
    AppStoreHarness other(withOverlay(state, quitting));
    other.send(activate);
    EXPECT_FALSE(other.state().overlay);
    EXPECT_TRUE(other.state().shouldQuit);
}

TEST(ActivationTest, AContextMenuHandsItsTargetToTheCommand) {
    struct Case {
        const char* name;
        std::optional<std::string> target;
        AppCommand command;
        Overlay overlay;
    };
    const Case cases[] = {
        {"rename the row's branch", "topic", AppCommand::renameBranch, NewBranchState(std::nullopt, "topic")},
        // No target replaces the one left over, so the current branch is
        // renamed.
        {"rename without a row", std::nullopt, AppCommand::renameBranch, NewBranchState(std::nullopt, "main")},
        {"delete the row's branch", "topic", AppCommand::deleteBranch, DeleteBranchState{"topic", false}},
        {"delete without a row", std::nullopt, AppCommand::deleteBranch,
         BranchPickerState(BranchPickerState::Mode::deleteBranch)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = workspaceState();
        state.workspace->branchTarget = "leftover";
        ContextMenuState menu({AppCommand::help, c.command}, 1, 2, c.target);
        menu.list.selected = 1;
        AppStoreHarness h(withOverlay(state, menu));
        h.send(activate);
        EXPECT_TRUE(h.state().overlay == c.overlay);
        EXPECT_FALSE(h.state().workspace->branchTarget);
    }
}

// A menu's row names the branch for the command chosen in it, and for no
// later one: a rename or delete from the keyboard afterwards acts on the
// current branch, as it would had the menu never been opened.
TEST(ActivationTest, AContextMenuTargetDoesNotOutliveItsCommand) {
    struct Case {
        const char* name;
        AppCommand later;
        Overlay overlay;
    };
    const Case cases[] = {
        {"a later rename", AppCommand::renameBranch, NewBranchState(std::nullopt, "main")},
        {"a later delete", AppCommand::deleteBranch, BranchPickerState(BranchPickerState::Mode::deleteBranch)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ContextMenuState menu({AppCommand::mergeBranch, AppCommand::renameBranch}, 1, 2, "topic");
        AppStoreHarness h(withOverlay(workspaceState(), menu));
        h.send(activate);
        ASSERT_EQ(h.state().overlay->kind(), Overlay::Kind::branches);
        EXPECT_FALSE(h.state().workspace->branchTarget);
        h.send(OverlayAction::Dismiss{});
        h.send(AppAction::Command{c.later});
        EXPECT_TRUE(h.state().overlay == c.overlay);
    }
}

TEST(ActivationTest, ARepositoryRowIsCheckedWhileThePickerStaysOpen) {
    AppState state;
    core::RepositoryEntry entry;
    entry.path = "/a";
    entry.name = "a";
    state.repositories = {entry};
    AppStoreHarness h(withOverlay(state, RepositoryPickerState()));
    h.send(activate);
    EXPECT_EQ(h.lastJobIds(), Strings{"-"});
    ASSERT_TRUE(h.state().overlay);
    EXPECT_EQ(h.state().overlay->kind(), Overlay::Kind::repositories);
    h.runJob("-");
    EXPECT_EQ(h.fakes.repository->calls("repositoryExists"), Strings{"repositoryExists /a"});
}

TEST(ActivationTest, AWorktreeRowOpensThatFolderUnlessItIsOpen) {
    const std::vector<core::Worktree> worktrees = {worktree("/r"), worktree("/r-topic")};
    WorktreePickerState picker(worktrees);

    AppStoreHarness same(withOverlay(workspaceState(), picker));
    same.send(activate);
    EXPECT_FALSE(same.state().overlay);
    EXPECT_EQ(same.state().workspace->path, "/r");
    EXPECT_TRUE(same.lastJobIds().empty());

    picker.list.selected = 1;
    AppStoreHarness other(withOverlay(workspaceState(), picker));
    other.send(activate);
    EXPECT_FALSE(other.state().overlay);
    ASSERT_TRUE(other.state().workspace);
    EXPECT_EQ(other.state().workspace->path, "/r-topic");
    EXPECT_FALSE(other.lastJobIds().empty());
}

TEST(ActivationTest, AStashRowIsRestoredAndThePickerCloses) {
    StashPickerState picker({stash("stash@{0}"), stash("stash@{1}")});
    picker.list.selected = 1;
    for (bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "failing" : "succeeding");
        AppStoreHarness h(withOverlay(workspaceState(), picker));
        if (fails) h.fakes.repository->fail("restoreStash", core::GitError::invalidArgument("conflict"));
        h.send(activate);
        EXPECT_EQ(h.lastJobIds(), Strings{"stash"});
        EXPECT_FALSE(h.state().overlay);
        ASSERT_TRUE(h.runJob("stash"));
        EXPECT_EQ(h.fakes.repository->calls("restoreStash"), Strings{"restoreStash /r c-stash@{1}"});
        h.drain();
        const auto actions = h.reducedActions();
        const bool reportedDone =
            std::any_of(actions.begin(), actions.end(), [](const AppAction& a) {
                const auto* w = std::get_if<WorkspaceAction>(&a.value);
                return w && std::holds_alternative<WorkspaceAction::StashOperationDone>(w->value);
            });
        const bool reportedFailure =
            std::any_of(actions.begin(), actions.end(), [](const AppAction& a) {
                const auto* w = std::get_if<WorkspaceAction>(&a.value);
                return w && std::holds_alternative<WorkspaceAction::StashOperationFailed>(w->value);
            });
        EXPECT_EQ(reportedDone, !fails);
        EXPECT_EQ(reportedFailure, fails);
    }
}

TEST(ActivationTest, CredentialPromptsAreAnsweredByTheirKind) {
    struct Case {
        const char* name;
        core::CredentialPrompt::Kind kind;
        const char* typed;
        std::optional<std::string> answer;
    };
    const Case cases[] = {
        {"a host-key question is confirmed", core::CredentialPrompt::Kind::confirmation, "", "yes"},
        {"a password is the typed text, blanks kept", core::CredentialPrompt::Kind::password, " s3cret ",
         " s3cret "},
        {"an empty user name is still an answer", core::CredentialPrompt::Kind::username, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CredentialPromptState prompt(core::CredentialPrompt{4, c.kind, "Question", std::nullopt});
        prompt.input = core::EditableText(c.typed, false);
        AppStoreHarness h(withOverlay(workspaceState(), prompt));
        h.send(activate);
        EXPECT_FALSE(h.state().overlay);
        EXPECT_EQ(h.lastJobIds(), Strings{"-"});
        h.runJob("-");
        EXPECT_EQ(h.fakes.credentials->responses(), (std::vector<std::pair<std::int64_t, std::optional<std::string>>>{
                                                        {4, c.answer}}));
    }
}

TEST(ActivationTest, ConfirmationsAreConfirmedAndPromptsSubmitted) {
    AppStoreHarness help(withOverlay(workspaceState(), Overlay::Help{}));
    help.send(activate);
    EXPECT_FALSE(help.state().overlay);

    AppStoreHarness message(withOverlay(workspaceState(), Overlay::message(core::Text::raw("t"), core::Text::raw("b"))));
    message.send(activate);
    EXPECT_FALSE(message.state().overlay);

    AppStoreHarness deletion(withOverlay(workspaceState(), DeleteBranchState{"topic", true}));
    deletion.send(activate);
    expectSameOutcome(deletion, directly(workspaceState(), WorkspaceAction::DeleteBranch{"topic", true}));

    CoAuthorPromptState coAuthor;
    coAuthor.input = core::EditableText("Ann <ann@example.com>", false);
    AppStoreHarness prompt(withOverlay(workspaceState(), coAuthor));
    prompt.send(activate);
    EXPECT_FALSE(prompt.state().overlay);
    EXPECT_EQ(prompt.state().workspace->coAuthors, (std::vector<core::CoAuthor>{{"Ann", "ann@example.com"}}));
}

}  // namespace
}  // namespace tarv::features
