// Edits (typed or pasted) of the focused text field: the open overlay's
// field, else the identity form of onboarding, else the workspace's filter,
// summary or description. A picker whose filter text changed starts again
// at its first row.
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "TarvCore/Ports/AppClock.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/Branches/BranchRows.hpp"
#include "TarvFeatures/Palette/PaletteCommands.hpp"
#include "TarvFeatures/Repositories/RepositoryRows.hpp"

namespace tarv::features {

namespace {

// The list as a picker starts over: at the top, the first of `rows` selected
// (nothing when there are none).
core::ListScroll firstRow(std::int64_t rows) {
    return core::ListScroll{.offset = 0, .selected = rows > 0 ? std::optional<std::int64_t>(0) : std::nullopt};
}

template <class Container>
std::int64_t sizeOf(const Container& container) {
    return static_cast<std::int64_t>(container.size());
}

// Applies `edit` to `field`; whether its characters changed (a cursor move
// changes none).
bool edited(core::EditableText& field, const core::TextEdit& edit) {
    const std::vector<std::string> before = field.characters();
    field.apply(edit);
    return field.characters() != before;
}

// The edit applied to the open overlay's focused field, in place, with what
// follows from it (an error cleared, a filtered list started over).
void applyToOverlay(AppState& state, const core::TextEdit& edit) {
    Overlay& overlay = *state.overlay;
    std::visit(
        [&](auto& payload) {
            using Payload = std::remove_cvref_t<decltype(payload)>;
            // The filtered pickers start over only when their text changed,
            // counted against the rows the new text leaves; the branch
            // picker counts its branch rows whichever tab is shown.
            if constexpr (std::is_same_v<Payload, RepositoryPickerState>) {
                if (!edited(payload.filter, edit)) return;
                payload.list = firstRow(sizeOf(RepositoryRows::selectable(state.repositories, payload.filter.text())));
            } else if constexpr (std::is_same_v<Payload, BranchPickerState>) {
                if (!edited(payload.filter, edit)) return;
                const std::vector<core::Branch> none;
                const auto& branches = state.workspace ? state.workspace->branches : none;
                payload.list = firstRow(sizeOf(BranchRows::selectable(branches, payload.filter.text())));
            } else if constexpr (std::is_same_v<Payload, PaletteState>) {
                if (!edited(payload.query, edit)) return;
                payload.list = firstRow(sizeOf(PaletteCommands::results(state, payload.query.text())));
            } else if constexpr (std::is_same_v<Payload, NewBranchState> || std::is_same_v<Payload, NewTagState>) {
                payload.name.apply(edit);
            } else if constexpr (std::is_same_v<Payload, NewWorktreeState>) {
                payload.branch.apply(edit);
            } else if constexpr (std::is_same_v<Payload, PathPromptState>) {
                payload.path.apply(edit);
                payload.error.reset();
                payload.offersCreate = false;
            } else if constexpr (std::is_same_v<Payload, CoAuthorPromptState>) {
                payload.input.apply(edit);
                payload.error.reset();
            } else if constexpr (std::is_same_v<Payload, ClonePromptState>) {
                // The repository list follows every edit of the address,
                // cursor moves included.
                payload.error.reset();
                if (payload.field == ClonePromptState::Field::url) {
                    payload.url.apply(edit);
                    payload.list = firstRow(sizeOf(payload.matches()));
                } else {
                    payload.destination.apply(edit);
                }
            } else if constexpr (std::is_same_v<Payload, PublishRepositoryState>) {
                if (payload.isPublishing) return;
                payload.error.reset();
                if (payload.field == PublishRepositoryState::Field::name) payload.name.apply(edit);
                if (payload.field == PublishRepositoryState::Field::description) payload.description.apply(edit);
            } else if constexpr (std::is_same_v<Payload, CredentialPromptState>) {
                payload.input.apply(edit);
            }
            // The other kinds have no text field.
        },
        overlay.value);
}

// The Changes file list after its filter text changed: the selected file
// stays selected while it is still shown, else the first shown file is
// selected (and its diff loaded), or nothing when none is shown.
AppEffect filterChanged(const AppReducer& reducer, WorkspaceState& workspace) {
    ChangesState& changes = workspace.changes;
    changes.list = core::ListScroll{.offset = 0, .selected = std::nullopt};
    const auto rows = changes.visibleFiles(workspace.status);
    if (changes.selectedPath && rows.indexOf(*changes.selectedPath)) {
        reducer.syncFileListSelection(workspace);
        return AppEffect::none();
    }
    if (rows.empty()) {
        changes.selectedPath.reset();
        changes.diff = DiffViewState(workspace.splitDiff);
        return AppEffect::none();
    }
    return reducer.selectFile(workspace, rows[0].path);
}

}  // namespace

AppEffect AppReducer::apply(AppState& state, const core::TextEdit& edit) const {
    if (state.overlay) {
        applyToOverlay(state, edit);
        return AppEffect::none();
    }
    if (state.phase() == AppState::Phase::onboarding) {
        OnboardingState& onboarding = state.onboarding;
        if (!onboarding.step.is<OnboardingState::Step::Identity>()) return AppEffect::none();
        state.now = dependencies_.clock->unixTime();
        onboarding.text(onboarding.focusedField).apply(edit);
        onboarding.validationError.reset();
        return advanceLaunch(state);
    }
    if (!state.workspace) return AppEffect::none();
    WorkspaceState& workspace = *state.workspace;
    switch (workspace.focus) {
        case WorkspaceFocus::files:
            if (workspace.tab != WorkspaceTab::changes || !workspace.changes.isFilterFocused) break;
            if (edited(workspace.changes.filter, edit)) return filterChanged(*this, workspace);
            break;
        case WorkspaceFocus::summary:
            workspace.summary.apply(edit);
            break;
        case WorkspaceFocus::description:
            workspace.description.apply(edit);
            break;
        default:
            break;
    }
    return AppEffect::none();
}

}  // namespace tarv::features
