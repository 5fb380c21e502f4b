// Commands: what each does to the state, and the jobs it starts.
#include <gtest/gtest.h>

#include "Support/AppStoreHarness.hpp"
#include "Support/ModelFixtures.hpp"
#include "TarvCore/Errors/PlatformError.hpp"
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {
namespace {

using core::AppCommand;
using tarv::testing::AppStoreHarness;
using tarv::testing::commitWithID;
using Strings = std::vector<std::string>;

core::FileChange file(std::string path, core::ChangeKind kind = core::ChangeKind::modified) {
    core::FileChange change;
    change.path = std::move(path);
    change.kind = kind;
    return change;
}

// A workspace on branch "main" (upstream "origin/main") with two changed
// files, "a.txt" selected, and two commits with the second one selected.
AppState workspaceState() {
    AppState state;
    WorkspaceState& w = state.workspace.emplace("/r", "r", std::optional<std::string>("git@github.com:o/r.git"));
    w.status.branch.head = "main";
    w.status.branch.upstream = "origin/main";
    w.status.files = {file("a.txt"), file("c.txt", core::ChangeKind::conflicted)};
    w.isStatusLoaded = true;
    w.changes.selectedPath = "a.txt";
    w.history.commits = {commitWithID("111"), commitWithID("222")};
    w.history.list.selected = 1;
    w.history.selectedFilePath = "h.txt";
    w.branches = {core::Branch{.name = "main", .isCurrent = true}, core::Branch{.name = "topic"},
                  core::Branch{.name = "origin/gone", .isRemote = true}};
    return state;
}

void send(AppStoreHarness& h, AppCommand command) { h.send(AppAction::Command{command}); }

TEST(CommandTest, ThePaletteClosesBeforeAnyCommand) {
    AppState state = workspaceState();
    PaletteState typed;
    typed.query = core::EditableText("zz", false);
    typed.list.selected = 3;
    state.overlay = typed;
    AppStoreHarness h(state);
    send(h, AppCommand::commandPalette);
    EXPECT_TRUE(h.state().overlay == Overlay(PaletteState()));

    h.send(AppAction::Command{AppCommand::toggleSplitDiff});
    EXPECT_FALSE(h.state().overlay);
    EXPECT_TRUE(h.state().workspace->splitDiff);

    state.overlay = Overlay::Help{};
    AppStoreHarness other(state);
    send(other, AppCommand::refresh);
    EXPECT_TRUE(other.state().overlay == Overlay(Overlay::Help{}));  // only the palette closes
}

TEST(CommandTest, WithoutARepositoryTheRepositoryCommandsOnlyCloseThePalette) {
    const AppCommand commands[] = {AppCommand::showHistory,  AppCommand::commit,   AppCommand::refresh,
                                   AppCommand::copyPath,     AppCommand::copySHA,  AppCommand::toggleSplitDiff,
                                   AppCommand::showTags,     AppCommand::undo,     AppCommand::discardAll,
                                   AppCommand::deleteBranch, AppCommand::openOnWeb};
    for (AppCommand command : commands) {
        SCOPED_TRACE(std::string(core::identifier(command)));
        AppState state;
        state.overlay = PaletteState();
        AppStoreHarness h(state);
        AppState expected = state;
        expected.overlay.reset();
        send(h, command);
        expected.now = h.state().now;
        EXPECT_TRUE(h.state() == expected);
        EXPECT_TRUE(h.lastJobIds().empty());
    }
}

TEST(CommandTest, CommandsThatOpenAnOverlay) {
    struct Case {
        AppCommand command;
        bool needsRepository;
        std::optional<Overlay> overlay;
        Strings jobIds;
    };
    AppState base = workspaceState();
    const Case cases[] = {
        {AppCommand::openRepositoryPicker, false, Overlay(RepositoryPickerState()), {}},
        {AppCommand::addRepository, false, Overlay(PathPromptState(false)), {}},
        {AppCommand::createRepository, false, Overlay(PathPromptState(true)), {}},
        {AppCommand::help, false, Overlay(Overlay::Help{}), {}},
        {AppCommand::openBranchPicker, true, Overlay(BranchPickerState(BranchPickerState::Mode::switchBranch)), {}},
        {AppCommand::mergeBranch, true, Overlay(BranchPickerState(BranchPickerState::Mode::merge)), {}},
        {AppCommand::rebaseBranch, true, Overlay(BranchPickerState(BranchPickerState::Mode::rebase)), {}},
        {AppCommand::deleteBranch, true, Overlay(BranchPickerState(BranchPickerState::Mode::deleteBranch)), {}},
        {AppCommand::newBranch, true, Overlay(NewBranchState()), {}},
        {AppCommand::renameBranch, true, Overlay(NewBranchState(std::nullopt, "main")), {}},
        {AppCommand::addCoAuthor, true, Overlay(CoAuthorPromptState()), {}},
        {AppCommand::newWorktree, true, Overlay(NewWorktreeState(core::EditableText("", false), "/r")), {}},
        {AppCommand::showStashes, true, Overlay(StashPickerState({})), {"stashes"}},
        {AppCommand::discardSelected, true, Overlay(Overlay::ConfirmDiscard{{file("a.txt")}}), {}},
        {AppCommand::discardAll, true, Overlay(Overlay::ConfirmDiscard{base.workspace->status.files}), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(core::identifier(c.command)));
        AppStoreHarness h(base);
        send(h, c.command);
        EXPECT_TRUE(h.state().overlay == c.overlay);
        EXPECT_EQ(h.lastJobIds(), c.jobIds);
        if (c.needsRepository) {
            AppStoreHarness empty;
            send(empty, c.command);
            EXPECT_FALSE(empty.state().overlay);
        }
    }
}

TEST(CommandTest, CommitCommitsContinuesOrFocusesTheSummary) {
    struct Case {
        const char* name;
        const char* summary;
        std::optional<core::RepositoryOperation> operation;
        WorkspaceFocus focus;
        WorkspaceTab tab;
        bool commits;
    };
    const Case cases[] = {
        {"blank summary", "   ", std::nullopt, WorkspaceFocus::summary, WorkspaceTab::changes, false},
        {"summary", "Fix", std::nullopt, WorkspaceFocus::historyList, WorkspaceTab::history, true},
        {"merge commits", "Merge", core::RepositoryOperation::merge, WorkspaceFocus::historyList,
         WorkspaceTab::history, true},
        {"merge with a blank summary", "", core::RepositoryOperation::merge, WorkspaceFocus::summary,
         WorkspaceTab::changes, false},
        {"rebase continues", "", core::RepositoryOperation::rebase, WorkspaceFocus::historyList,
         WorkspaceTab::history, false},
        {"revert continues", "Fix", core::RepositoryOperation::revert, WorkspaceFocus::historyList,
         WorkspaceTab::history, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = workspaceState();
        WorkspaceState& w = *state.workspace;
        w.status.files = {file("a.txt")};
        w.changes.included = {"a.txt"};
        w.changes.isFilterFocused = true;
        w.summary = core::EditableText(c.summary, false);
        w.status.operation = c.operation;
        w.tab = WorkspaceTab::history;
        w.focus = WorkspaceFocus::historyList;
        AppStoreHarness h(state);
        send(h, AppCommand::commit);
        EXPECT_EQ(h.state().workspace->focus, c.focus);
        EXPECT_EQ(h.state().workspace->tab, c.tab);
        EXPECT_EQ(h.state().workspace->changes.isFilterFocused, c.focus != WorkspaceFocus::summary);
        const Strings ids = h.lastJobIds();
        EXPECT_EQ(std::count(ids.begin(), ids.end(), "commit"), c.commits ? 1 : 0);
    }
}

TEST(CommandTest, SelectionCommandsNeedTheirTabAndSelection) {
    struct Case {
        const char* name;
        AppCommand command;
        WorkspaceTab tab;
        std::optional<std::string> selectedPath;
        bool commitSelected;
        Strings jobIds;
    };
    const Case cases[] = {
        {"squash in the Changes tab", AppCommand::squashCommit, WorkspaceTab::changes, "a.txt", true, {}},
        {"tag without a commit", AppCommand::createTagOnCommit, WorkspaceTab::history, "a.txt", false, {}},
        {"ignore a conflicted file", AppCommand::ignoreFile, WorkspaceTab::changes, "c.txt", true, {}},
        {"ignore a changed file", AppCommand::ignoreFile, WorkspaceTab::changes, "a.txt", true, {"ignore"}},
        {"ignore from the History tab", AppCommand::ignoreFile, WorkspaceTab::history, "a.txt", true, {}},
        {"resolve a file without conflict", AppCommand::resolveMine, WorkspaceTab::changes, "a.txt", true, {}},
        {"resolve a conflicted file", AppCommand::resolveTheirs, WorkspaceTab::changes, "c.txt", true, {"conflict"}},
        {"discard without a selection", AppCommand::discardSelected, WorkspaceTab::changes, std::nullopt, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = workspaceState();
        state.workspace->tab = c.tab;
        state.workspace->changes.selectedPath = c.selectedPath;
        if (!c.commitSelected) state.workspace->history.list.selected.reset();
        AppStoreHarness h(state);
        send(h, c.command);
        EXPECT_EQ(h.lastJobIds(), c.jobIds);
        if (c.jobIds.empty()) { EXPECT_FALSE(h.state().overlay); }
    }

    AppState state = workspaceState();
    state.workspace->tab = WorkspaceTab::history;
    AppStoreHarness h(state);
    send(h, AppCommand::createTagOnCommit);
    EXPECT_TRUE(h.state().overlay == Overlay(NewTagState(core::EditableText("", false), "222")));
    send(h, AppCommand::branchFromCommit);
    EXPECT_TRUE(h.state().overlay == Overlay(NewBranchState("222", std::nullopt)));
}

TEST(CommandTest, PlatformJobsGetTheFullPathTheCommitOrTheWebPage) {
    struct Case {
        const char* name;
        AppCommand command;
        WorkspaceTab tab;
        Strings calls;
        bool copiedToast;
    };
    const Case cases[] = {
        {"copy path", AppCommand::copyPath, WorkspaceTab::changes, {"copyToClipboard /r/a.txt"}, true},
        {"copy path of a commit file", AppCommand::copyPath, WorkspaceTab::history, {"copyToClipboard /r/h.txt"}, true},
        {"copy SHA from Changes", AppCommand::copySHA, WorkspaceTab::changes, {"copyToClipboard 222"}, true},
        {"editor", AppCommand::openInEditor, WorkspaceTab::changes, {"openInEditor /r/a.txt"}, false},
        {"reveal", AppCommand::revealInFinder, WorkspaceTab::changes, {"reveal /r/a.txt"}, false},
        {"web page", AppCommand::openOnWeb, WorkspaceTab::changes, {"openURL https://github.com/o/r"}, false},
        {"commit page", AppCommand::openOnWeb, WorkspaceTab::history,
         {"openURL https://github.com/o/r/commit/222"}, false},
        {"pull request", AppCommand::createPullRequest, WorkspaceTab::changes,
         {"openURL https://github.com/o/r/compare/main?expand=1"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = workspaceState();
        state.workspace->tab = c.tab;
        AppStoreHarness h(state);
        send(h, c.command);
        EXPECT_EQ(h.state().toast.has_value(), c.copiedToast);
        h.settle();
        EXPECT_EQ(h.fakes.platform->calls(), c.calls);
        EXPECT_TRUE(h.state().workspace == state.workspace);
    }
}

TEST(CommandTest, CommandsThatDoNothingWhenTheyCannotApply) {
    struct Case {
        const char* name;
        AppCommand command;
        void (*given)(AppState&);
    };
    const Case cases[] = {
        {"web page without a remote", AppCommand::openOnWeb, [](AppState& s) { s.workspace->remoteURL.reset(); }},
        {"web page of a local folder", AppCommand::openOnWeb, [](AppState& s) { s.workspace->remoteURL = "/srv/r.git"; }},
        {"pull request when detached", AppCommand::createPullRequest,
         [](AppState& s) { s.workspace->status.branch.head.reset(); }},
        {"editor without a path", AppCommand::openInEditor, [](AppState& s) { s.workspace->changes.selectedPath.reset(); }},
        {"terminal editor already asked for", AppCommand::openInVim,
         [](AppState& s) { s.externalRequest = core::ExternalRequest::terminalEditor("/r/x"); }},
        {"sign out while signed out", AppCommand::signOutGitHub, [](AppState&) {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = workspaceState();
        c.given(state);
        AppStoreHarness h(state);
        send(h, c.command);
        state.now = h.state().now;
        EXPECT_TRUE(h.state() == state);
        EXPECT_TRUE(h.lastJobIds().empty());
    }
}

TEST(CommandTest, PullRequestOfAnUnpublishedBranchAsksToPublishIt) {
    AppState state = workspaceState();
    state.workspace->status.branch.upstream.reset();
    AppStoreHarness h(state);
    send(h, AppCommand::createPullRequest);
    ASSERT_TRUE(h.state().toast);
    EXPECT_EQ(h.state().toast->text, core::Text::toastPublishBranchFirst());
    EXPECT_EQ(h.lastJobIds(), Strings{"toast"});
}

TEST(CommandTest, TerminalEditorIsAskedOfTheShell) {
    AppStoreHarness h(workspaceState());
    send(h, AppCommand::openInVim);
    EXPECT_TRUE(h.state().externalRequest == core::ExternalRequest::terminalEditor("/r/a.txt"));
    EXPECT_TRUE(h.lastJobIds().empty());
}

// A copy or an editor that could not work says why, in place of the
// "copied" toast or of nothing at all.
TEST(CommandTest, ACopyOrAnEditorThatFailsShowsWhy) {
    struct Case {
        const char* name;
        AppCommand command;
        WorkspaceTab tab;
        const char* operation;
        core::PlatformError error;
        core::Text expected;
    };
    const Case cases[] = {
        {"copy path without a tool", AppCommand::copyPath, WorkspaceTab::changes, "copyToClipboard",
         core::PlatformError::noClipboardTool(), core::Text::clipboardToolMissing()},
        {"copy SHA with a failing tool", AppCommand::copySHA, WorkspaceTab::history, "copyToClipboard",
         core::PlatformError::toolFailed("xclip", "Error: Can't open display: (null)"),
         core::Text::raw("xclip: Error: Can't open display: (null)")},
        {"editor without a desktop", AppCommand::openInEditor, WorkspaceTab::changes, "openInEditor",
         core::PlatformError::noDesktop(), core::Text::openInEditorNoDesktop()},
        {"editor without xdg-open", AppCommand::openInEditor, WorkspaceTab::changes, "openInEditor",
         core::PlatformError::noOpener(), core::Text::openInEditorNoOpener()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = workspaceState();
        state.workspace->tab = c.tab;
        AppStoreHarness h(state);
        h.fakes.platform->fail(c.operation, c.error);
        send(h, c.command);
        h.runJob("-");
        h.drain();
        ASSERT_TRUE(h.state().toast);
        EXPECT_EQ(h.state().toast->text, c.expected);
        EXPECT_TRUE(h.state().toast->isError);
    }
}

// With an editor chosen and no desktop, `o` runs the editor on this terminal
// as `v` does, and a failure to start it names the editor, not vim.
TEST(CommandTest, AChosenEditorWithoutADesktopRunsOnTheTerminal) {
    AppStoreHarness h(workspaceState());
    h.fakes.platform->answers.terminalEditor = {"nano", "-w"};
    send(h, AppCommand::openInEditor);
    EXPECT_TRUE(h.state().externalRequest == core::ExternalRequest::command({"nano", "-w", "/r/a.txt"}));
    EXPECT_TRUE(h.lastJobIds().empty());
    h.settle();
    EXPECT_TRUE(h.fakes.platform->calls().empty());

    h.send(AppAction::ExternalFinished{true});
    EXPECT_FALSE(h.state().externalRequest);
    ASSERT_TRUE(h.state().toast);
    EXPECT_EQ(h.state().toast->text, core::Text::openInEditorUnavailable());
}

TEST(CommandTest, SignOutForgetsTheSession) {
    AppState state = workspaceState();
    state.session = core::GitHubSession{"me", std::nullopt, "token"};
    state.gitTokenRejected = true;
    AppStoreHarness h(state);
    send(h, AppCommand::signOutGitHub);
    EXPECT_FALSE(h.state().session);
    EXPECT_FALSE(h.state().gitTokenRejected);
    EXPECT_EQ(h.lastJobIds(), (Strings{"toast", "-"}));
    h.runJob("-");
    EXPECT_EQ(h.fakes.accounts->calls(), Strings{"remove"});
}

TEST(CommandTest, BranchCommandsUseTheBranchTarget) {
    struct Case {
        const char* name;
        AppCommand command;
        std::optional<std::string> target;
        std::optional<std::string> head;
        std::optional<Overlay> overlay;
        bool toast;
    };
    const Case cases[] = {
        {"rename detached", AppCommand::renameBranch, std::nullopt, std::nullopt,
         Overlay(NewBranchState(std::nullopt, "HEAD")), false},
        {"rename the target", AppCommand::renameBranch, "topic", "main", Overlay(NewBranchState(std::nullopt, "topic")),
         false},
        {"delete the target", AppCommand::deleteBranch, "topic", "main", Overlay(DeleteBranchState{"topic", false}),
         false},
        {"delete the current branch", AppCommand::deleteBranch, "main", "main", std::nullopt, true},
        {"delete a remote-only name", AppCommand::deleteBranch, "origin/gone", "main", std::nullopt, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = workspaceState();
        state.workspace->branchTarget = c.target;
        state.workspace->status.branch.head = c.head;
        AppStoreHarness h(state);
        send(h, c.command);
        EXPECT_TRUE(h.state().overlay == c.overlay);
        EXPECT_FALSE(h.state().workspace->branchTarget);
        EXPECT_EQ(h.state().toast.has_value(), c.toast);
        if (c.toast) { EXPECT_EQ(h.state().toast->text, core::Text::toastCannotDeleteCurrentBranch()); }
    }
}

TEST(CommandTest, ListsReloadUnderTheirIds) {
    AppState state = workspaceState();
    WorktreePickerState open;
    open.list.selected = 2;
    state.overlay = open;
    AppStoreHarness h(state);
    send(h, AppCommand::showWorktrees);
    EXPECT_TRUE(h.state().overlay == Overlay(open));  // kept, only reloaded

    send(h, AppCommand::refresh);
    const Strings ids = h.lastJobIds();
    ASSERT_GE(ids.size(), 2u);
    EXPECT_EQ(Strings(ids.end() - 2, ids.end()), (Strings{"history", "branches"}));
    EXPECT_NE(std::find(ids.begin(), ids.end(), "status"), ids.end());
}

TEST(CommandTest, SplitDiffTogglesBothDiffViews) {
    AppStoreHarness h(workspaceState());
    send(h, AppCommand::toggleSplitDiff);
    EXPECT_TRUE(h.state().workspace->splitDiff);
    EXPECT_TRUE(h.state().workspace->changes.diff == DiffViewState(true));
    EXPECT_TRUE(h.state().workspace->history.diff == DiffViewState(true));
    send(h, AppCommand::toggleSplitDiff);
    EXPECT_FALSE(h.state().workspace->splitDiff);
}

TEST(CommandTest, CancelAmendClearsTheMessage) {
    AppState state = workspaceState();
    state.workspace->isAmending = true;
    state.workspace->summary = core::EditableText("old", false);
    state.workspace->description = core::EditableText("body", true);
    state.workspace->focus = WorkspaceFocus::description;
    state.workspace->coAuthors = {core::CoAuthor{"A", "a@x"}};
    AppStoreHarness h(state);
    send(h, AppCommand::cancelAmend);
    send(h, AppCommand::clearCoAuthors);
    const WorkspaceState& w = *h.state().workspace;
    EXPECT_FALSE(w.isAmending);
    EXPECT_TRUE(w.summary == core::EditableText("", false));
    EXPECT_TRUE(w.description == core::EditableText("", true));
    EXPECT_EQ(w.focus, WorkspaceFocus::files);
    EXPECT_TRUE(w.coAuthors.empty());
}

TEST(CommandTest, QuitAsksTheShellToEnd) {
    AppStoreHarness h;
    send(h, AppCommand::quit);
    EXPECT_TRUE(h.state().shouldQuit);
}

}  // namespace
}  // namespace tarv::features
