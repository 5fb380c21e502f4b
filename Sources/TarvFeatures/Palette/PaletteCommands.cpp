// The palette's commands: which ones make sense in a state, and the rows for
// a typed query.
//
// Both run on every keystroke of the palette and on every frame that draws
// it, so nothing here walks a large status more than once: the remote is
// parsed once, the selected file is found at the list's selection when the
// filter is blank, and whether a commit is possible is decided without
// counting the included files one by one wherever the status is applied.
#include "TarvFeatures/Palette/PaletteCommands.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/RemoteURL.hpp"
#include "TarvCore/Rules/FuzzyMatcher.hpp"
#include "TarvCore/Rules/RemoteURLParser.hpp"
#include "TarvCore/Rules/Trimmed.hpp"
#include "TarvFeatures/App/AppState.hpp"

namespace tarv::features::PaletteCommands {

namespace {

using core::AppCommand;

using Titles = std::array<std::string, core::appCommandCount>;

// Every command's title in one language, rendered once per run.
const Titles& titles(core::Language language) {
    static const auto render = [](core::Language lang) {
        Titles result;
        for (std::size_t i = 0; i < core::appCommandCount; ++i) {
            result[i] = core::Text::command(core::allAppCommands[i]).render(lang);
        }
        return result;
    };
    static const Titles english = render(core::Language::en);
    static const Titles spanish = render(core::Language::es);
    return language == core::Language::es ? spanish : english;
}

bool isConflicted(const core::FileChange& file) { return file.kind == core::ChangeKind::conflicted; }

bool anyConflicted(const core::WorkingTreeStatus& status) {
    return std::any_of(status.files.begin(), status.files.end(), isConflicted);
}

// The status and the paths the reducer last applied agree, so every included
// path is a file of the status.
bool statusIsApplied(const WorkspaceState& workspace) {
    return workspace.changes.knownPaths.size() == workspace.status.files.size();
}

// The file of the Changes list's selected path; looked up at the list's
// selection first (the rows are the status's files while the filter is
// empty), else in the whole status.
const core::FileChange* selectedFile(const WorkspaceState& workspace) {
    const ChangesState& changes = workspace.changes;
    if (!changes.selectedPath) return nullptr;
    const auto& files = workspace.status.files;
    if (changes.list.selected && changes.filter.isEmpty()) {
        const std::int64_t index = *changes.list.selected;
        if (index >= 0 && index < static_cast<std::int64_t>(files.size()) &&
            files[static_cast<std::size_t>(index)].path == *changes.selectedPath) {
            return &files[static_cast<std::size_t>(index)];
        }
    }
    return changes.selectedFile(workspace.status);
}

// `WorkspaceState::canCommit`, without counting the included files when the
// applied status already guarantees that something is included.
bool canCommit(const WorkspaceState& workspace) {
    const auto& operation = workspace.status.operation;
    const bool counts = (!operation || *operation == core::RepositoryOperation::merge) && !workspace.isAmending &&
                        !workspace.changes.included.empty();
    if (!counts || !statusIsApplied(workspace)) return workspace.canCommit();
    if (workspace.isCommitting) return false;
    const std::string summary = workspace.summary.text();
    if (core::trimmedView(summary).empty()) return false;
    return !(operation && anyConflicted(workspace.status));
}

// What the table of offered commands looks at, worked out once per call.
struct Facts {
    const AppState& state;
    const WorkspaceState& workspace;
    bool changesTab;
    bool historyTab;
    bool operation;
    bool headExists;
    bool unpushed;
    bool selectedPath;
    bool commitSelected;
    const core::FileChange* file;  // the Changes tab's selected file, shown or not
    std::optional<core::RemoteURL> remote;

    explicit Facts(const AppState& s)
        : state(s),
          workspace(*s.workspace),
          changesTab(workspace.tab == WorkspaceTab::changes),
          historyTab(workspace.tab == WorkspaceTab::history),
          operation(workspace.status.operation.has_value()),
          headExists(workspace.status.branch.objectID.has_value()),
          unpushed(!workspace.status.branch.upstream.has_value() || workspace.status.branch.ahead > 0),
          selectedPath(changesTab ? workspace.changes.selectedPath.has_value()
                                  : workspace.history.selectedFilePath.has_value()),
          commitSelected(workspace.history.selectedCommit() != nullptr),
          file(changesTab ? selectedFile(workspace) : nullptr),
          remote(workspace.remoteURL ? core::RemoteURLParser::parse(*workspace.remoteURL) : std::nullopt) {}

    // Every command has its case and there is no catch-all, so a command
    // added to AppCommand does not compile until it says when it is offered.
    bool offers(AppCommand command) const {
        switch (command) {
            case AppCommand::showChanges: return historyTab;
            case AppCommand::showHistory: return changesTab;
            case AppCommand::commit: return canCommit(workspace);
            case AppCommand::focusSummary:
            case AppCommand::addCoAuthor:
            case AppCommand::toggleAllFiles: return changesTab;
            case AppCommand::amendCommit:
                return changesTab && !workspace.isAmending && !operation && headExists && unpushed;
            case AppCommand::cancelAmend: return workspace.isAmending;
            case AppCommand::clearCoAuthors: return !workspace.coAuthors.empty();
            case AppCommand::discardSelected:
            case AppCommand::openInEditor:
            case AppCommand::openInVim:
            case AppCommand::revealInFinder:
            case AppCommand::copyPath: return selectedPath;
            case AppCommand::discardAll: return changesTab && !workspace.status.files.empty();
            case AppCommand::undo: return workspace.lastDiscard.has_value() || (headExists && unpushed);
            case AppCommand::stashChanges: return !workspace.status.files.empty();
            case AppCommand::mergeBranch:
            case AppCommand::rebaseBranch: return !operation;
            case AppCommand::abortOperation: return operation;
            case AppCommand::continueOperation: return operation && !anyConflicted(workspace.status);
            case AppCommand::createTagOnCommit:
            case AppCommand::branchFromCommit:
            case AppCommand::copySHA: return historyTab && commitSelected;
            case AppCommand::squashCommit:
            case AppCommand::moveCommitUp:
            case AppCommand::moveCommitDown:
            case AppCommand::revertCommit:
            case AppCommand::cherryPickCommit:
            case AppCommand::resetSoftToCommit:
            case AppCommand::resetMixedToCommit: return historyTab && commitSelected && !operation;
            case AppCommand::resolveMine:
            case AppCommand::resolveTheirs:
            case AppCommand::markResolved: return file && isConflicted(*file);
            case AppCommand::ignoreFile: return file && !isConflicted(*file);
            case AppCommand::openOnWeb: return remote.has_value();
            case AppCommand::createPullRequest:
                return remote && remote->webURL() && workspace.status.branch.head.has_value();
            case AppCommand::signInGitHub: return !state.session;
            case AppCommand::signOutGitHub: return state.session.has_value();
            case AppCommand::publishRepository: return !workspace.remoteURL;
            case AppCommand::commandPalette: return false;
            case AppCommand::openRepositoryPicker:
            case AppCommand::openBranchPicker:
            case AppCommand::newBranch:
            case AppCommand::sync:
            case AppCommand::fetch:
            case AppCommand::pull:
            case AppCommand::push:
            case AppCommand::showStashes:
            case AppCommand::renameBranch:
            case AppCommand::deleteBranch:
            case AppCommand::showWorktrees:
            case AppCommand::newWorktree:
            case AppCommand::showTags:
            case AppCommand::toggleSplitDiff:
            case AppCommand::refresh:
            case AppCommand::addRepository:
            case AppCommand::createRepository:
            case AppCommand::cloneRepository:
            case AppCommand::help:
            case AppCommand::quit: return true;
        }
        return false;
    }
};

}  // namespace

std::vector<AppCommand> available(const AppState& state) {
    if (!state.workspace) {
        return {AppCommand::addRepository,
                AppCommand::createRepository,
                AppCommand::cloneRepository,
                AppCommand::openRepositoryPicker,
                state.session ? AppCommand::signOutGitHub : AppCommand::signInGitHub,
                AppCommand::help,
                AppCommand::quit};
    }
    const Facts facts(state);
    std::vector<AppCommand> commands;
    commands.reserve(core::appCommandCount);
    for (AppCommand command : core::allAppCommands) {
        if (facts.offers(command)) commands.push_back(command);
    }
    return commands;
}

std::vector<AppCommand> results(const AppState& state, std::string_view query) {
    const Titles& names = titles(state.language);
    return core::FuzzyMatcher::filter(available(state), query, [&names](AppCommand command) -> const std::string& {
        return names[static_cast<std::size_t>(command)];
    });
}

}  // namespace tarv::features::PaletteCommands
