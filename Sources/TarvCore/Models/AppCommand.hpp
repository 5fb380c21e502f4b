#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace tarv::core {

// Every command the palette, the context menus and the keymap offer, in the
// order the palette lists them.
enum class AppCommand {
    showChanges, showHistory, openRepositoryPicker, openBranchPicker, newBranch, sync, fetch, pull,
    push, commit, focusSummary, amendCommit, cancelAmend, addCoAuthor, clearCoAuthors,
    toggleAllFiles, discardSelected, discardAll, undo, stashChanges, showStashes, renameBranch,
    deleteBranch, mergeBranch, abortOperation, continueOperation, rebaseBranch, showWorktrees,
    newWorktree, createTagOnCommit, showTags, squashCommit, moveCommitUp, moveCommitDown,
    revertCommit, cherryPickCommit, branchFromCommit, resetSoftToCommit, resetMixedToCommit,
    resolveMine, resolveTheirs, markResolved, openInEditor, openInVim, revealInFinder, copyPath,
    copySHA, openOnWeb, createPullRequest, toggleSplitDiff, signInGitHub, signOutGitHub,
    ignoreFile, refresh, addRepository, createRepository, cloneRepository, publishRepository,
    commandPalette, help, quit,
};

inline constexpr std::size_t appCommandCount = 61;

inline constexpr std::array<AppCommand, appCommandCount> allAppCommands = {
    AppCommand::showChanges, AppCommand::showHistory, AppCommand::openRepositoryPicker,
    AppCommand::openBranchPicker, AppCommand::newBranch, AppCommand::sync, AppCommand::fetch,
    AppCommand::pull, AppCommand::push, AppCommand::commit, AppCommand::focusSummary,
    AppCommand::amendCommit, AppCommand::cancelAmend, AppCommand::addCoAuthor,
    AppCommand::clearCoAuthors, AppCommand::toggleAllFiles, AppCommand::discardSelected,
    AppCommand::discardAll, AppCommand::undo, AppCommand::stashChanges, AppCommand::showStashes,
    AppCommand::renameBranch, AppCommand::deleteBranch, AppCommand::mergeBranch,
    AppCommand::abortOperation, AppCommand::continueOperation, AppCommand::rebaseBranch,
    AppCommand::showWorktrees, AppCommand::newWorktree, AppCommand::createTagOnCommit,
    AppCommand::showTags, AppCommand::squashCommit, AppCommand::moveCommitUp,
    AppCommand::moveCommitDown, AppCommand::revertCommit, AppCommand::cherryPickCommit,
    AppCommand::branchFromCommit, AppCommand::resetSoftToCommit, AppCommand::resetMixedToCommit,
    AppCommand::resolveMine, AppCommand::resolveTheirs, AppCommand::markResolved,
    AppCommand::openInEditor, AppCommand::openInVim, AppCommand::revealInFinder,
    AppCommand::copyPath, AppCommand::copySHA, AppCommand::openOnWeb,
    AppCommand::createPullRequest, AppCommand::toggleSplitDiff, AppCommand::signInGitHub,
    AppCommand::signOutGitHub, AppCommand::ignoreFile, AppCommand::refresh,
    AppCommand::addRepository, AppCommand::createRepository, AppCommand::cloneRepository,
    AppCommand::publishRepository, AppCommand::commandPalette, AppCommand::help, AppCommand::quit,
};

namespace detail {
inline constexpr std::array<std::string_view, appCommandCount> appCommandIdentifiers = {
    "showChanges", "showHistory", "openRepositoryPicker", "openBranchPicker", "newBranch", "sync",
    "fetch", "pull", "push", "commit", "focusSummary", "amendCommit", "cancelAmend", "addCoAuthor",
    "clearCoAuthors", "toggleAllFiles", "discardSelected", "discardAll", "undo", "stashChanges",
    "showStashes", "renameBranch", "deleteBranch", "mergeBranch", "abortOperation",
    "continueOperation", "rebaseBranch", "showWorktrees", "newWorktree", "createTagOnCommit",
    "showTags", "squashCommit", "moveCommitUp", "moveCommitDown", "revertCommit",
    "cherryPickCommit", "branchFromCommit", "resetSoftToCommit", "resetMixedToCommit",
    "resolveMine", "resolveTheirs", "markResolved", "openInEditor", "openInVim", "revealInFinder",
    "copyPath", "copySHA", "openOnWeb", "createPullRequest", "toggleSplitDiff", "signInGitHub",
    "signOutGitHub", "ignoreFile", "refresh", "addRepository", "createRepository",
    "cloneRepository", "publishRepository", "commandPalette", "help", "quit",
};
}  // namespace detail

// The name under which the command is bound in keymap.json (its case name).
constexpr std::string_view identifier(AppCommand command) {
    return detail::appCommandIdentifiers[static_cast<std::size_t>(command)];
}

// The command whose identifier is exactly `text` (case-sensitive).
std::optional<AppCommand> appCommand(std::string_view identifier);

}  // namespace tarv::core
