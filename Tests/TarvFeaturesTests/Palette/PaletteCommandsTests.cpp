// The palette's commands: what is offered per phase and repository state,
// and the rows for a typed query.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TarvFeatures/App/AppState.hpp"
#include "TarvFeatures/Palette/PaletteCommands.hpp"

namespace tarv::features {
namespace {

using core::AppCommand;
using Commands = std::vector<AppCommand>;

core::FileChange file(std::string path, core::ChangeKind kind = core::ChangeKind::modified) {
    core::FileChange change;
    change.path = std::move(path);
    change.kind = kind;
    return change;
}

// An open repository in the Changes tab on "main", pushed (upstream, nothing
// ahead), with a parsable remote, one modified file "a.txt" selected and
// included, and two commits of which the first is selected in History.
AppState repositoryState() {
    AppState state;
    WorkspaceState& w = state.workspace.emplace("/r", "r", std::optional<std::string>("https://github.com/o/r.git"));
    w.status.branch.head = "main";
    w.status.branch.objectID = "111";
    w.status.branch.upstream = "origin/main";
    w.status.files = {file("a.txt")};
    w.changes.knownPaths = {"a.txt"};
    w.changes.included = {"a.txt"};
    w.changes.selectedPath = "a.txt";
    w.changes.list.selected = 0;
    w.history.commits = {core::Commit{}, core::Commit{}};
    w.history.commits[0].sha = "111";
    w.history.commits[1].sha = "000";
    w.history.list.selected = 0;
    return state;
}

bool offers(const Commands& commands, AppCommand command) {
    return std::find(commands.begin(), commands.end(), command) != commands.end();
}

std::string names(const Commands& commands) {
    std::string text;
    for (AppCommand command : commands) text += std::string(core::identifier(command)) + " ";
    return text;
}

TEST(PaletteCommandsTest, WithoutARepositoryTheWelcomeCommandsInOrder) {
    AppState state;
    EXPECT_EQ(PaletteCommands::available(state),
              (Commands{AppCommand::addRepository, AppCommand::createRepository, AppCommand::cloneRepository,
                        AppCommand::openRepositoryPicker, AppCommand::signInGitHub, AppCommand::help,
                        AppCommand::quit}));
    state.session = core::GitHubSession{"octo", std::nullopt, "token"};
    EXPECT_EQ(PaletteCommands::available(state),
              (Commands{AppCommand::addRepository, AppCommand::createRepository, AppCommand::cloneRepository,
                        AppCommand::openRepositoryPicker, AppCommand::signOutGitHub, AppCommand::help,
                        AppCommand::quit}));
}

// Each case changes the repository state a little and names commands that
// must be offered and commands that must not.
TEST(PaletteCommandsTest, OfferedByRepositoryState) {
    struct Case {
        const char* name;
        void (*change)(AppState&);
        Commands offered;
        Commands absent;
    };
    const Case cases[] = {
        {"the Changes tab",
         [](AppState&) {},
         {AppCommand::showHistory, AppCommand::focusSummary, AppCommand::addCoAuthor, AppCommand::toggleAllFiles,
          AppCommand::discardAll, AppCommand::discardSelected, AppCommand::copyPath, AppCommand::ignoreFile,
          AppCommand::mergeBranch, AppCommand::rebaseBranch, AppCommand::stashChanges, AppCommand::signInGitHub,
          AppCommand::openOnWeb, AppCommand::createPullRequest, AppCommand::refresh, AppCommand::quit},
         {AppCommand::showChanges, AppCommand::squashCommit, AppCommand::revertCommit, AppCommand::copySHA,
          AppCommand::createTagOnCommit, AppCommand::branchFromCommit, AppCommand::resetSoftToCommit,
          AppCommand::abortOperation, AppCommand::continueOperation, AppCommand::resolveMine,
          AppCommand::cancelAmend, AppCommand::clearCoAuthors, AppCommand::signOutGitHub,
          AppCommand::publishRepository, AppCommand::commandPalette, AppCommand::commit, AppCommand::amendCommit,
          AppCommand::undo}},
        {"the History tab with a commit selected",
         [](AppState& s) { s.workspace->tab = WorkspaceTab::history; },
         {AppCommand::showChanges, AppCommand::squashCommit, AppCommand::moveCommitUp, AppCommand::moveCommitDown,
          AppCommand::revertCommit, AppCommand::cherryPickCommit, AppCommand::resetSoftToCommit,
          AppCommand::resetMixedToCommit, AppCommand::createTagOnCommit, AppCommand::branchFromCommit,
          AppCommand::copySHA},
         {AppCommand::showHistory, AppCommand::focusSummary, AppCommand::discardAll, AppCommand::ignoreFile,
          AppCommand::amendCommit, AppCommand::copyPath, AppCommand::discardSelected, AppCommand::commandPalette}},
        {"the History tab with a file selected",
         [](AppState& s) {
             s.workspace->tab = WorkspaceTab::history;
             s.workspace->history.selectedFilePath = "h.txt";
         },
         {AppCommand::copyPath, AppCommand::openInEditor, AppCommand::openInVim, AppCommand::revealInFinder,
          AppCommand::discardSelected},
         {}},
        {"the History tab without a selected commit",
         [](AppState& s) {
             s.workspace->tab = WorkspaceTab::history;
             s.workspace->history.list.selected = 5;
         },
         {},
         {AppCommand::squashCommit, AppCommand::copySHA, AppCommand::createTagOnCommit, AppCommand::copyPath}},
        {"a rebase with a conflict left",
         [](AppState& s) {
             s.workspace->tab = WorkspaceTab::history;
             s.workspace->status.operation = core::RepositoryOperation::rebase;
             s.workspace->status.files.push_back(file("c.txt", core::ChangeKind::conflicted));
             s.workspace->changes.knownPaths.insert("c.txt");
         },
         {AppCommand::abortOperation, AppCommand::copySHA, AppCommand::createTagOnCommit},
         {AppCommand::continueOperation, AppCommand::mergeBranch, AppCommand::rebaseBranch, AppCommand::squashCommit,
          AppCommand::revertCommit, AppCommand::cherryPickCommit, AppCommand::resetMixedToCommit, AppCommand::commit}},
        {"a rebase with every conflict resolved",
         [](AppState& s) { s.workspace->status.operation = core::RepositoryOperation::rebase; },
         {AppCommand::abortOperation, AppCommand::continueOperation, AppCommand::commit},
         {AppCommand::mergeBranch, AppCommand::rebaseBranch, AppCommand::amendCommit}},
        {"a conflicted file selected in Changes",
         [](AppState& s) {
             s.workspace->status.files = {file("c.txt", core::ChangeKind::conflicted)};
             s.workspace->changes.knownPaths = {"c.txt"};
             s.workspace->changes.included.clear();
             s.workspace->changes.selectedPath = "c.txt";
         },
         {AppCommand::resolveMine, AppCommand::resolveTheirs, AppCommand::markResolved},
         {AppCommand::ignoreFile}},
        {"a conflicted file selected, History shown",
         [](AppState& s) {
             s.workspace->tab = WorkspaceTab::history;
             s.workspace->status.files = {file("c.txt", core::ChangeKind::conflicted)};
             s.workspace->changes.knownPaths = {"c.txt"};
             s.workspace->changes.selectedPath = "c.txt";
         },
         {},
         {AppCommand::resolveMine, AppCommand::resolveTheirs, AppCommand::markResolved, AppCommand::ignoreFile}},
        {"a filtered list whose selection is not the status row",
         [](AppState& s) {
             s.workspace->status.files = {file("a.txt"), file("c.txt", core::ChangeKind::conflicted)};
             s.workspace->changes.knownPaths = {"a.txt", "c.txt"};
             s.workspace->changes.filter = core::EditableText("c", false);
             s.workspace->changes.selectedPath = "c.txt";
             s.workspace->changes.list.selected = 0;
         },
         {AppCommand::resolveMine},
         {AppCommand::ignoreFile}},
        {"nothing selected, no files",
         [](AppState& s) {
             s.workspace->status.files.clear();
             s.workspace->changes = ChangesState();
         },
         {},
         {AppCommand::discardAll, AppCommand::stashChanges, AppCommand::discardSelected, AppCommand::openInEditor,
          AppCommand::ignoreFile, AppCommand::resolveMine, AppCommand::commit}},
        {"a summary typed",
         [](AppState& s) { s.workspace->summary = core::EditableText("Fix it", false); },
         {AppCommand::commit},
         {}},
        {"a summary of blanks",
         [](AppState& s) { s.workspace->summary = core::EditableText("   ", false); },
         {},
         {AppCommand::commit}},
        {"a summary but nothing included",
         [](AppState& s) {
             s.workspace->summary = core::EditableText("Fix it", false);
             s.workspace->changes.included.clear();
         },
         {},
         {AppCommand::commit}},
        {"a summary while committing",
         [](AppState& s) {
             s.workspace->summary = core::EditableText("Fix it", false);
             s.workspace->isCommitting = true;
         },
         {},
         {AppCommand::commit}},
        {"a summary during a merge with a conflict left",
         [](AppState& s) {
             s.workspace->summary = core::EditableText("Merge", false);
             s.workspace->status.operation = core::RepositoryOperation::merge;
             s.workspace->status.files.push_back(file("c.txt", core::ChangeKind::conflicted));
             s.workspace->changes.knownPaths.insert("c.txt");
         },
         {AppCommand::abortOperation},
         {AppCommand::commit, AppCommand::continueOperation}},
        {"unpushed commits",
         [](AppState& s) { s.workspace->status.branch.ahead = 2; },
         {AppCommand::amendCommit, AppCommand::undo},
         {}},
        {"no upstream",
         [](AppState& s) { s.workspace->status.branch.upstream.reset(); },
         {AppCommand::amendCommit, AppCommand::undo},
         {}},
        {"no commit yet",
         [](AppState& s) {
             s.workspace->status.branch.objectID.reset();
             s.workspace->status.branch.upstream.reset();
         },
         {},
         {AppCommand::amendCommit, AppCommand::undo}},
        {"amending",
         [](AppState& s) {
             s.workspace->status.branch.ahead = 1;
             s.workspace->isAmending = true;
             s.workspace->summary = core::EditableText("Reworded", false);
             s.workspace->changes.included.clear();
         },
         {AppCommand::cancelAmend, AppCommand::commit},
         {AppCommand::amendCommit}},
        {"a discard to undo on a pushed branch",
         [](AppState& s) { s.workspace->lastDiscard = DiscardRecord{"refs/tarv/snapshots/1", {"a.txt"}}; },
         {AppCommand::undo},
         {}},
        {"co-authors",
         [](AppState& s) { s.workspace->coAuthors = {core::CoAuthor{"Ann", "ann@example.com"}}; },
         {AppCommand::clearCoAuthors},
         {}},
        {"no remote",
         [](AppState& s) { s.workspace->remoteURL.reset(); },
         {AppCommand::publishRepository},
         {AppCommand::openOnWeb, AppCommand::createPullRequest}},
        {"a remote that does not parse",
         [](AppState& s) { s.workspace->remoteURL = "not a remote"; },
         {},
         {AppCommand::openOnWeb, AppCommand::createPullRequest, AppCommand::publishRepository}},
        {"a remote without a web page",
         [](AppState& s) { s.workspace->remoteURL = "file:///srv/r.git"; },
         {AppCommand::openOnWeb},
         {AppCommand::createPullRequest, AppCommand::publishRepository}},
        {"a detached HEAD",
         [](AppState& s) { s.workspace->status.branch.head.reset(); },
         {AppCommand::openOnWeb},
         {AppCommand::createPullRequest}},
        {"signed in",
         [](AppState& s) { s.session = core::GitHubSession{"octo", std::nullopt, "token"}; },
         {AppCommand::signOutGitHub},
         {AppCommand::signInGitHub}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = repositoryState();
        c.change(state);
        const Commands commands = PaletteCommands::available(state);
        SCOPED_TRACE(names(commands));
        for (AppCommand command : c.offered) EXPECT_TRUE(offers(commands, command)) << core::identifier(command);
        for (AppCommand command : c.absent) EXPECT_FALSE(offers(commands, command)) << core::identifier(command);
        // The palette offers commit exactly when the commit button works.
        EXPECT_EQ(offers(commands, AppCommand::commit), state.workspace->canCommit());
        EXPECT_TRUE(std::is_sorted(commands.begin(), commands.end()));  // declaration order
    }
}

TEST(PaletteCommandsTest, CommandsThatNoStateHides) {
    const AppState state = repositoryState();
    const Commands commands = PaletteCommands::available(state);
    for (AppCommand command :
         {AppCommand::openRepositoryPicker, AppCommand::openBranchPicker, AppCommand::newBranch, AppCommand::sync,
          AppCommand::fetch, AppCommand::pull, AppCommand::push, AppCommand::showStashes, AppCommand::renameBranch,
          AppCommand::deleteBranch, AppCommand::showWorktrees, AppCommand::newWorktree, AppCommand::showTags,
          AppCommand::toggleSplitDiff, AppCommand::refresh, AppCommand::addRepository, AppCommand::createRepository,
          AppCommand::cloneRepository, AppCommand::help, AppCommand::quit}) {
        EXPECT_TRUE(offers(commands, command)) << core::identifier(command);
    }
}

TEST(PaletteCommandsTest, ResultsForAQuery) {
    struct Case {
        const char* name;
        core::Language language;
        const char* query;
        Commands expected;
    };
    const Commands welcome = {AppCommand::addRepository, AppCommand::createRepository,
                              AppCommand::cloneRepository, AppCommand::openRepositoryPicker,
                              AppCommand::signInGitHub, AppCommand::help,
                              AppCommand::quit};
    const Case cases[] = {
        {"empty query: every command in order", core::Language::en, "", welcome},
        {"blank query: the same", core::Language::en, "   ", welcome},
        {"an English title", core::Language::en, "quit", {AppCommand::quit}},
        {"letters in order, case ignored", core::Language::en, "CLR", {AppCommand::cloneRepository}},
        {"a Spanish title in English", core::Language::en, "salir", {}},
        {"a Spanish title in Spanish", core::Language::es, "salir", {AppCommand::quit}},
        {"nothing matches", core::Language::en, "zzz", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state(c.language);
        EXPECT_EQ(PaletteCommands::results(state, c.query), c.expected) << names(PaletteCommands::results(state, c.query));
    }
}

TEST(PaletteCommandsTest, AQueryRanksTheBestTitleFirst) {
    AppState state = repositoryState();
    const Commands rows = PaletteCommands::results(state, "go to history");
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), AppCommand::showHistory);
    for (AppCommand command : rows) EXPECT_TRUE(offers(PaletteCommands::available(state), command));
}

}  // namespace
}  // namespace tarv::features
