// Activating the selected row of the open overlay (Enter, a double click):
// the chosen repository, branch, pull request, stash, tag, worktree, palette
// row or menu item is carried out. Overlays without a list fall back to
// their natural action: prompts are submitted, confirmations confirmed, a
// credential prompt answered.
//
// An absent, negative or past-the-end selection does nothing and leaves the
// overlay open. Where a row's work may open another overlay (the branch
// picker, the worktree picker, the palette, a context menu), this one is
// closed first, so the new overlay replaces nothing; the repository picker
// alone stays open while its check runs.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/Branches/BranchRows.hpp"
#include "TarvFeatures/Palette/PaletteCommands.hpp"
#include "TarvFeatures/Repositories/RepositoryRows.hpp"

namespace tarv::features {

namespace {

// The row of `rows` under `list`'s selection; none when nothing valid is
// selected.
template <class Row>
const Row* selectedRow(const std::vector<Row>& rows, const core::ListScroll& list) {
    if (!list.selected) return nullptr;
    const std::int64_t index = *list.selected;
    if (index < 0 || index >= static_cast<std::int64_t>(rows.size())) return nullptr;
    return &rows[static_cast<std::size_t>(index)];
}

// The branch picker's Enter: a pull request checked out, or the chosen
// branch switched to, merged, rebased onto or asked to be deleted. The
// picker closes before the current branch is recognised, so choosing it
// only closes the picker.
AppEffect activateBranchRow(const AppReducer& reducer, AppState& state, const BranchPickerState& picker) {
    if (picker.tab == BranchPickerState::Tab::pullRequests) {
        const auto* loaded = std::get_if<PullRequestList::Loaded>(&picker.pullRequests.value);
        if (!loaded) return AppEffect::none();
        const core::PullRequest* pullRequest = selectedRow(loaded->pullRequests, picker.list);
        if (!pullRequest) return AppEffect::none();
        const core::PullRequest chosen = *pullRequest;
        return reducer.checkoutPullRequest(state, chosen);
    }
    if (!state.workspace) return AppEffect::none();
    const auto rows = BranchRows::selectable(state.workspace->branches, picker.filter.text());
    const core::Branch* branch = selectedRow(rows, picker.list);
    if (!branch) return AppEffect::none();
    const std::string name = branch->name;
    const bool isCurrent = branch->isCurrent;
    const BranchPickerState::Mode mode = picker.mode;
    state.overlay.reset();
    if (isCurrent) {
        // The branch checked out here cannot be deleted; say so rather than
        // close the picker without a word.
        if (mode != BranchPickerState::Mode::deleteBranch) return AppEffect::none();
        return reducer.showToast(state, core::Text::toastCannotDeleteCurrentBranch(), false);
    }
    switch (mode) {
        case BranchPickerState::Mode::switchBranch:
            return reducer.reduceWorkspace(state, WorkspaceAction::SwitchBranch{name});
        case BranchPickerState::Mode::merge: return reducer.reduceWorkspace(state, WorkspaceAction::Merge{name});
        case BranchPickerState::Mode::rebase: return reducer.reduceWorkspace(state, WorkspaceAction::Rebase{name});
        case BranchPickerState::Mode::deleteBranch: return reducer.requestDelete(state, name);
    }
    return AppEffect::none();
}

// Each overlay kind has its overload and there is no catch-all, so a kind
// added to Overlay does not compile until it says what Enter does there.
struct Activation {
    const AppReducer& reducer;
    AppState& state;
    const Overlay& overlay;

    // Prompts submit; confirmations confirm.
    AppEffect submit() { return reducer.submit(state, overlay); }
    AppEffect confirm() { return reducer.reduceOverlay(state, OverlayAction::Confirm{}); }
    AppEffect operator()(const NewBranchState&) { return submit(); }
    AppEffect operator()(const PathPromptState&) { return submit(); }
    AppEffect operator()(const CoAuthorPromptState&) { return submit(); }
    AppEffect operator()(const NewTagState&) { return submit(); }
    AppEffect operator()(const NewWorktreeState&) { return submit(); }
    AppEffect operator()(const ClonePromptState&) { return submit(); }
    AppEffect operator()(const PublishRepositoryState&) { return submit(); }
    AppEffect operator()(const Overlay::ConfirmDiscard&) { return confirm(); }
    AppEffect operator()(const DeleteBranchState&) { return confirm(); }
    AppEffect operator()(const Overlay::Message&) { return confirm(); }
    AppEffect operator()(const SignInState&) { return confirm(); }
    AppEffect operator()(const Overlay::Help&) { return confirm(); }

    AppEffect operator()(const CredentialPromptState& credentials) {
        if (credentials.prompt.kind != core::CredentialPrompt::Kind::confirmation) return submit();
        const core::CredentialPrompt prompt = credentials.prompt;
        return reducer.answerCredential(state, prompt, "yes");
    }
    AppEffect operator()(const RepositoryPickerState& picker) {
        const auto rows = RepositoryRows::selectable(state.repositories, picker.filter.text());
        const core::RepositoryEntry* entry = selectedRow(rows, picker.list);
        return entry ? reducer.openFromList(entry->path) : AppEffect::none();
    }
    AppEffect operator()(const BranchPickerState& picker) { return activateBranchRow(reducer, state, picker); }
    AppEffect operator()(const PaletteState& palette) {
        const auto rows = PaletteCommands::results(state, palette.query.text());
        const core::AppCommand* command = selectedRow(rows, palette.list);
        if (!command) return AppEffect::none();
        const core::AppCommand chosen = *command;
        state.overlay.reset();
        return reducer.perform(state, chosen);
    }
    AppEffect operator()(const ContextMenuState& menu) {
        const core::AppCommand* command = selectedRow(menu.items, menu.list);
        if (!command) return AppEffect::none();
        const core::AppCommand chosen = *command;
        std::optional<std::string> target = menu.target;
        state.overlay.reset();
        if (state.workspace) state.workspace->branchTarget = std::move(target);
        AppEffect effect = reducer.perform(state, chosen);
        // The target is the menu's row, for this command only.
        if (state.workspace) state.workspace->branchTarget.reset();
        return effect;
    }
    AppEffect operator()(const TagPickerState& tags) {
        return selectedRow(tags.tags, tags.list) ? reducer.jumpToTag(state, tags) : AppEffect::none();
    }
    AppEffect operator()(const StashPickerState& stashes) {
        const StashPickerState picker = stashes;
        return reducer.restoreSelectedStash(state, picker);
    }
    AppEffect operator()(const WorktreePickerState& worktrees) {
        const core::Worktree* worktree = selectedRow(worktrees.worktrees, worktrees.list);
        if (!worktree) return AppEffect::none();
        const std::string path = worktree->path;
        state.overlay.reset();
        if (state.workspace && state.workspace->path == path) return AppEffect::none();
        return reducer.open(state, path);
    }
};

}  // namespace

AppEffect AppReducer::activateSelection(AppState& state, const Overlay& overlay) const {
    return std::visit(Activation{*this, state, overlay}, overlay.value);
}

}  // namespace tarv::features
