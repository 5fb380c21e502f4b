// Command execution: a command from the keymap, the palette, a menu or a
// button. The palette closes first, whatever the command; the commands of the
// welcome screen work without a repository; every other one needs the open
// workspace and does nothing without it (or without what it acts on).
#include <utility>

#include "TarvCore/Models/RemoteURL.hpp"
#include "TarvCore/Ports/AccountStore.hpp"
#include "TarvCore/Ports/PlatformServices.hpp"
#include "TarvCore/Rules/RemoteURLParser.hpp"
#include "TarvCore/Rules/SyncButtonRules.hpp"
#include "TarvCore/Rules/Trimmed.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/PlatformJobs.hpp"

namespace tarv::features {

namespace {

using core::AppCommand;
using PlatformOperation = void (core::PlatformServices::*)(const std::string&, std::stop_token);

// An anonymous job that hands `value` to one platform operation; its outcome
// is not shown.
AppEffect platformJob(std::shared_ptr<core::PlatformServices> platform, PlatformOperation operation,
                      std::string value) {
    return AppEffect::run(std::nullopt, [platform = std::move(platform), operation,
                                         value = std::move(value)](AppEffect::Send, std::stop_token stop) {
        try {
            ((*platform).*operation)(value, stop);
        } catch (...) {
            // Not reported: the command has no place to show it.
        }
    });
}

// The path the file commands act on: the selected file of the tab shown.
std::optional<std::string> selectedPath(const WorkspaceState& workspace) {
    return workspace.tab == WorkspaceTab::changes ? workspace.changes.selectedPath
                                                  : workspace.history.selectedFilePath;
}

const core::Commit* historyCommit(const WorkspaceState& workspace) {
    return workspace.tab == WorkspaceTab::history ? workspace.history.selectedCommit() : nullptr;
}

// The selected file of the Changes tab, when it is shown.
const core::FileChange* changesFile(const WorkspaceState& workspace) {
    if (workspace.tab != WorkspaceTab::changes) return nullptr;
    return workspace.changes.selectedFile(workspace.status);
}

bool isConflicted(const core::FileChange& file) { return file.kind == core::ChangeKind::conflicted; }

// Where a command is carried out: without a repository (`anywhere`), on the
// selected file, path or commit, in the workspace, or on its lists and web
// pages. Every command has its case and there is no catch-all, so a command
// added to AppCommand does not compile until it is given its place (and its
// case in that place's function below).
enum class CommandPlace { anywhere, selection, workspace, lists };

CommandPlace placeOf(AppCommand command) {
    switch (command) {
        case AppCommand::openRepositoryPicker:
        case AppCommand::signInGitHub:
        case AppCommand::signOutGitHub:
        case AppCommand::addRepository:
        case AppCommand::createRepository:
        case AppCommand::cloneRepository:
        case AppCommand::commandPalette:
        case AppCommand::help:
        case AppCommand::quit: return CommandPlace::anywhere;
        case AppCommand::squashCommit:
        case AppCommand::moveCommitUp:
        case AppCommand::moveCommitDown:
        case AppCommand::revertCommit:
        case AppCommand::cherryPickCommit:
        case AppCommand::resetSoftToCommit:
        case AppCommand::resetMixedToCommit:
        case AppCommand::createTagOnCommit:
        case AppCommand::branchFromCommit:
        case AppCommand::resolveMine:
        case AppCommand::resolveTheirs:
        case AppCommand::markResolved:
        case AppCommand::ignoreFile:
        case AppCommand::discardSelected:
        case AppCommand::openInEditor:
        case AppCommand::openInVim:
        case AppCommand::revealInFinder:
        case AppCommand::copyPath:
        case AppCommand::copySHA: return CommandPlace::selection;
        case AppCommand::showChanges:
        case AppCommand::showHistory:
        case AppCommand::openBranchPicker:
        case AppCommand::newBranch:
        case AppCommand::sync:
        case AppCommand::fetch:
        case AppCommand::pull:
        case AppCommand::push:
        case AppCommand::commit:
        case AppCommand::focusSummary:
        case AppCommand::amendCommit:
        case AppCommand::cancelAmend:
        case AppCommand::addCoAuthor:
        case AppCommand::clearCoAuthors:
        case AppCommand::toggleAllFiles:
        case AppCommand::discardAll:
        case AppCommand::undo:
        case AppCommand::stashChanges:
        case AppCommand::abortOperation:
        case AppCommand::continueOperation:
        case AppCommand::toggleSplitDiff:
        case AppCommand::refresh:
        case AppCommand::publishRepository: return CommandPlace::workspace;
        case AppCommand::showStashes:
        case AppCommand::renameBranch:
        case AppCommand::deleteBranch:
        case AppCommand::mergeBranch:
        case AppCommand::rebaseBranch:
        case AppCommand::showWorktrees:
        case AppCommand::newWorktree:
        case AppCommand::showTags:
        case AppCommand::openOnWeb:
        case AppCommand::createPullRequest: return CommandPlace::lists;
    }
    return CommandPlace::anywhere;
}

AppEffect orNone(std::optional<AppEffect> effect) { return effect ? std::move(*effect) : AppEffect::none(); }

}  // namespace

AppEffect AppReducer::perform(AppState& state, AppCommand command) const {
    if (state.overlay && state.overlay->kind() == Overlay::Kind::palette) state.overlay.reset();
    const CommandPlace place = placeOf(command);
    if (place == CommandPlace::anywhere) return orNone(performWithoutRepository(state, command));
    if (!state.workspace) return AppEffect::none();
    switch (place) {
        case CommandPlace::anywhere: break;
        case CommandPlace::selection: return orNone(performOnSelection(state, command));
        case CommandPlace::workspace: return performInWorkspace(state, command);
        case CommandPlace::lists: return performPickers(state, command);
    }
    return AppEffect::none();
}

std::optional<AppEffect> AppReducer::performWithoutRepository(AppState& state, AppCommand command) const {
    switch (command) {
        case AppCommand::openRepositoryPicker: state.overlay = RepositoryPickerState(); return AppEffect::none();
        case AppCommand::signInGitHub: return beginSignIn(state);
        case AppCommand::signOutGitHub: return signOut(state);
        case AppCommand::addRepository: state.overlay = PathPromptState(false); return AppEffect::none();
        case AppCommand::createRepository: state.overlay = PathPromptState(true); return AppEffect::none();
        case AppCommand::cloneRepository: return openClone(state);
        case AppCommand::commandPalette: state.overlay = PaletteState(); return AppEffect::none();
        case AppCommand::help: state.overlay = Overlay::Help{}; return AppEffect::none();
        case AppCommand::quit: state.shouldQuit = true; return AppEffect::none();
        default: return std::nullopt;  // the other places' commands
    }
}

AppEffect AppReducer::signOut(AppState& state) const {
    if (!state.session) return AppEffect::none();
    state.session.reset();
    state.gitTokenRejected = false;
    auto forget = AppEffect::run(std::nullopt, [accounts = dependencies_.accounts](AppEffect::Send,
                                                                                     std::stop_token stop) {
        try {
            accounts->remove(stop);
        } catch (...) {
            // The session is gone from the program either way.
        }
    });
    return AppEffect::merge(showToast(state, core::Text::toastSignedOut(), false), std::move(forget));
}

// The commands that act on the selected file, path or commit.
std::optional<AppEffect> AppReducer::performOnSelection(AppState& state, AppCommand command) const {
    WorkspaceState& workspace = *state.workspace;
    const core::Commit* commit = historyCommit(workspace);
    const core::FileChange* file = changesFile(workspace);
    auto onCommit = [&](auto makeAction) -> AppEffect {
        if (commit == nullptr) return AppEffect::none();
        return reduceWorkspace(state, makeAction(commit->sha));
    };
    auto onConflict = [&](auto makeAction) -> AppEffect {
        if (file == nullptr || !isConflicted(*file)) return AppEffect::none();
        return reduceWorkspace(state, makeAction(file->path));
    };
    using WA = WorkspaceAction;
    switch (command) {
        case AppCommand::squashCommit:
            return onCommit([](std::string sha) { return WA::EditHistory{core::HistoryEdit::squashIntoParent(sha)}; });
        case AppCommand::moveCommitUp:
            return onCommit([](std::string sha) { return WA::EditHistory{core::HistoryEdit::moveUp(sha)}; });
        case AppCommand::moveCommitDown:
            return onCommit([](std::string sha) { return WA::EditHistory{core::HistoryEdit::moveDown(sha)}; });
        case AppCommand::revertCommit: return onCommit([](std::string sha) { return WA::Revert{sha}; });
        case AppCommand::cherryPickCommit: return onCommit([](std::string sha) { return WA::CherryPick{sha}; });
        case AppCommand::resetSoftToCommit:
            return onCommit([](std::string sha) { return WA::Reset{sha, core::ResetMode::soft}; });
        case AppCommand::resetMixedToCommit:
            return onCommit([](std::string sha) { return WA::Reset{sha, core::ResetMode::mixed}; });
        case AppCommand::createTagOnCommit:
            if (commit != nullptr) state.overlay = NewTagState(core::EditableText("", false), commit->sha);
            return AppEffect::none();
        case AppCommand::branchFromCommit:
            if (commit != nullptr) state.overlay = NewBranchState(commit->sha, std::nullopt);
            return AppEffect::none();
        case AppCommand::resolveMine:
            return onConflict([](std::string p) { return WA::ResolveConflict{p, core::ConflictResolution::mine}; });
        case AppCommand::resolveTheirs:
            return onConflict([](std::string p) { return WA::ResolveConflict{p, core::ConflictResolution::theirs}; });
        case AppCommand::markResolved: return onConflict([](std::string p) { return WA::MarkResolved{p}; });
        case AppCommand::ignoreFile:
            if (file == nullptr || isConflicted(*file)) return AppEffect::none();
            return reduceWorkspace(state, WA::Ignore{*file});
        case AppCommand::discardSelected:
            if (const core::FileChange* selected = workspace.changes.selectedFile(workspace.status))
                state.overlay = Overlay::ConfirmDiscard{{*selected}};
            return AppEffect::none();
        case AppCommand::openInEditor:
        case AppCommand::openInVim:
        case AppCommand::revealInFinder:
        case AppCommand::copyPath: return performOnPath(state, command);
        case AppCommand::copySHA: {
            const core::Commit* any = workspace.history.selectedCommit();
            if (any == nullptr) return AppEffect::none();
            return AppEffect::merge(PlatformJobs::copy(dependencies_.platform, any->sha),
                                    showToast(state, core::Text::copied(), false));
        }
        default: return std::nullopt;  // the other places' commands
    }
}

AppEffect AppReducer::performOnPath(AppState& state, AppCommand command) const {
    const WorkspaceState& workspace = *state.workspace;
    std::optional<std::string> path = selectedPath(workspace);
    if (!path) return AppEffect::none();
    std::string full = workspace.path + "/" + *path;
    switch (command) {
        case AppCommand::openInEditor:
            // A terminal editor without a desktop runs on this terminal, as
            // `v` does.
            if (auto command = dependencies_.platform->terminalEditorCommand(full)) {
                if (!state.externalRequest) state.externalRequest = core::ExternalRequest::command(std::move(*command));
                return AppEffect::none();
            }
            return PlatformJobs::openInEditor(dependencies_.platform, std::move(full));
        case AppCommand::openInVim:
            if (!state.externalRequest) state.externalRequest = core::ExternalRequest::terminalEditor(std::move(full));
            return AppEffect::none();
        case AppCommand::revealInFinder:
            return platformJob(dependencies_.platform, &core::PlatformServices::reveal, std::move(full));
        default:
            return AppEffect::merge(PlatformJobs::copy(dependencies_.platform, std::move(full)),
                                    showToast(state, core::Text::copied(), false));
    }
}

AppEffect AppReducer::commitOrFocus(AppState& state) const {
    WorkspaceState& workspace = *state.workspace;
    const auto& operation = workspace.status.operation;
    if (operation && *operation != core::RepositoryOperation::merge)
        return reduceWorkspace(state, WorkspaceAction::ContinueOperation{});
    const std::string summary = workspace.summary.text();
    if (core::trimmedView(summary).empty()) return focusSummary(workspace);
    return commit(workspace);
}

AppEffect AppReducer::focusSummary(WorkspaceState& workspace) const {
    AppEffect effect = setTab(workspace, WorkspaceTab::changes);
    workspace.focus = WorkspaceFocus::summary;
    workspace.changes.isFilterFocused = false;
    return effect;
}

AppEffect AppReducer::performInWorkspace(AppState& state, AppCommand command) const {
    WorkspaceState& workspace = *state.workspace;
    const core::BranchStatus& branch = workspace.status.branch;
    switch (command) {
        case AppCommand::showChanges: return setTab(workspace, WorkspaceTab::changes);
        case AppCommand::showHistory: return setTab(workspace, WorkspaceTab::history);
        case AppCommand::openBranchPicker:
            state.overlay = BranchPickerState(BranchPickerState::Mode::switchBranch);
            return AppEffect::none();
        case AppCommand::newBranch: state.overlay = NewBranchState(); return AppEffect::none();
        case AppCommand::sync: return sync(state, core::SyncButtonRules::model(workspace.syncContext()).action);
        case AppCommand::fetch: return sync(state, core::SyncAction::fetch);
        case AppCommand::pull: return sync(state, core::SyncAction::pull);
        case AppCommand::push:
            return sync(state, branch.upstream ? core::SyncAction::push : core::SyncAction::publishBranch);
        case AppCommand::commit: return commitOrFocus(state);
        case AppCommand::focusSummary: return focusSummary(workspace);
        case AppCommand::amendCommit: return beginAmend(state);
        case AppCommand::cancelAmend:
            workspace.isAmending = false;
            workspace.summary = core::EditableText("", false);
            workspace.description = core::EditableText("", true);
            workspace.focus = WorkspaceFocus::files;
            return AppEffect::none();
        case AppCommand::addCoAuthor: state.overlay = CoAuthorPromptState(); return AppEffect::none();
        case AppCommand::clearCoAuthors: workspace.coAuthors.clear(); return AppEffect::none();
        case AppCommand::toggleAllFiles: return reduceWorkspace(state, WorkspaceAction::ToggleAll{});
        case AppCommand::discardAll:
            if (!workspace.status.files.empty()) state.overlay = Overlay::ConfirmDiscard{workspace.status.files};
            return AppEffect::none();
        case AppCommand::undo: return undo(state);
        case AppCommand::stashChanges: return stashChanges(state);
        case AppCommand::abortOperation: return reduceWorkspace(state, WorkspaceAction::AbortOperation{});
        case AppCommand::continueOperation: return reduceWorkspace(state, WorkspaceAction::ContinueOperation{});
        case AppCommand::toggleSplitDiff:
            workspace.splitDiff = !workspace.splitDiff;
            workspace.changes.diff.setSplit(workspace.splitDiff);
            workspace.history.diff.setSplit(workspace.splitDiff);
            return AppEffect::none();
        case AppCommand::refresh:
            return AppEffect::merge(reduceWorkspace(state, WorkspaceAction::FilesChanged{}),
                                    loadHistory(state.workspace->path, 0), loadBranches(state.workspace->path));
        case AppCommand::publishRepository: return openPublish(state, workspace.name);
        default: return AppEffect::none();  // the other places' commands
    }
}

// Branch, stash, tag and worktree lists and the remote's web pages.
AppEffect AppReducer::performPickers(AppState& state, AppCommand command) const {
    WorkspaceState& workspace = *state.workspace;
    using Mode = BranchPickerState::Mode;
    switch (command) {
        case AppCommand::showStashes:
            state.overlay = StashPickerState(workspace.stashes);
            return loadStashes(workspace.path);
        case AppCommand::renameBranch: {
            std::string target = workspace.branchTarget.value_or(workspace.status.branch.head.value_or("HEAD"));
            workspace.branchTarget.reset();
            state.overlay = NewBranchState(std::nullopt, target);
            return AppEffect::none();
        }
        case AppCommand::deleteBranch: {
            if (!workspace.branchTarget) {
                state.overlay = BranchPickerState(Mode::deleteBranch);
                return AppEffect::none();
            }
            std::string target = std::move(*workspace.branchTarget);
            workspace.branchTarget.reset();
            return requestDelete(state, target);
        }
        case AppCommand::mergeBranch: state.overlay = BranchPickerState(Mode::merge); return AppEffect::none();
        case AppCommand::rebaseBranch: state.overlay = BranchPickerState(Mode::rebase); return AppEffect::none();
        case AppCommand::showWorktrees:
            if (!state.overlay || state.overlay->kind() != Overlay::Kind::worktrees)
                state.overlay = WorktreePickerState();
            return reloadWorktrees(workspace.path);
        case AppCommand::newWorktree:
            state.overlay = NewWorktreeState(core::EditableText("", false), workspace.path);
            return AppEffect::none();
        case AppCommand::showTags:
            state.overlay = TagPickerState(workspace.tags);
            return loadTags(workspace.path);
        case AppCommand::openOnWeb: return openOnWeb(workspace);
        case AppCommand::createPullRequest: return createPullRequest(state);
        default: return AppEffect::none();  // the other places' commands
    }
}

AppEffect AppReducer::openOnWeb(const WorkspaceState& workspace) const {
    if (!workspace.remoteURL) return AppEffect::none();
    auto remote = core::RemoteURLParser::parse(*workspace.remoteURL);
    std::optional<std::string> web = remote ? remote->webURL() : std::nullopt;
    if (!web) return AppEffect::none();
    if (const core::Commit* commit = historyCommit(workspace)) *web += "/commit/" + commit->sha;
    return platformJob(dependencies_.platform, &core::PlatformServices::openURL, std::move(*web));
}

AppEffect AppReducer::createPullRequest(AppState& state) const {
    const WorkspaceState& workspace = *state.workspace;
    const core::BranchStatus& branch = workspace.status.branch;
    if (!workspace.remoteURL || !branch.head) return AppEffect::none();
    auto remote = core::RemoteURLParser::parse(*workspace.remoteURL);
    std::optional<std::string> url = remote ? remote->pullRequestURL(*branch.head) : std::nullopt;
    if (!url) return AppEffect::none();
    if (!branch.upstream) return showToast(state, core::Text::toastPublishBranchFirst(), false);
    return platformJob(dependencies_.platform, &core::PlatformServices::openURL, std::move(*url));
}

}  // namespace tarv::features
