#include "TarvFeatures/App/AppReducer.hpp"

#include <algorithm>
#include <chrono>
#include <utility>
#include <variant>

#include "TarvCore/Ports/AppClock.hpp"
#include "TarvFeatures/Overlay/CredentialQueue.hpp"

namespace tarv::features {

namespace {

// The one dispatch of every application action to the member that handles
// it. Each case has its own overload and there is no catch-all, so a case
// added to AppAction does not compile until it is handled here.
struct Dispatch {
    const AppReducer& reducer;
    AppState& state;

    AppEffect operator()(OnboardingAction& action) { return reducer.reduceOnboarding(state, std::move(action)); }
    AppEffect operator()(AppAction::Launch& action) { return reducer.launch(state, action.startDirectory); }
    AppEffect operator()(AppAction::RegistryLoaded& action) {
        state.repositories = std::move(action.entries);
        state.registryLoaded = true;
        return reducer.advanceLaunch(state);
    }
    AppEffect operator()(AppAction::StartRepositoryResolved& action) {
        state.startRepositoryPath = std::move(action.path);
        state.startRefusal = std::move(action.refusal);
        state.startResolved = true;
        return reducer.advanceLaunch(state);
    }
    AppEffect operator()(AppAction::OpenRepository& action) { return reducer.openFromList(action.path); }
    AppEffect operator()(AppAction::RepositoryChecked& action) {
        return reducer.repositoryChecked(state, action.path, action.exists);
    }
    AppEffect operator()(WorkspaceAction& action) { return reducer.reduceWorkspace(state, std::move(action)); }
    AppEffect operator()(OverlayAction& action) { return reducer.reduceOverlay(state, std::move(action)); }
    AppEffect operator()(AppAction::Command& action) { return reducer.perform(state, action.command); }
    AppEffect operator()(AppAction::CredentialRequested& action) {
        return reducer.credentialRequested(state, std::move(action.prompt));
    }
    AppEffect operator()(AuthAction& action) { return reducer.reduceAuth(state, std::move(action)); }
    AppEffect operator()(AppAction::OpenContextMenu& action) {
        if (action.items.empty()) {
            state.overlay.reset();
        } else {
            state.overlay = Overlay(ContextMenuState(std::move(action.items), action.x, action.y, std::move(action.target)));
        }
        return AppEffect::none();
    }
    AppEffect operator()(AppAction::Edit& action) { return reducer.apply(state, action.edit); }
    AppEffect operator()(AppAction::Pasted& action) {
        return reducer.apply(state, core::TextEdit::insert(std::move(action.text)));
    }
    AppEffect operator()(AppAction::DismissToast& action) {
        if (!state.toast || state.toast->id != action.id) return AppEffect::none();
        // Dismissed by a click before its time: its timer has nothing left to do.
        state.toast.reset();
        return AppEffect::cancel("toast");
    }
    AppEffect operator()(AppAction::Notice& action) {
        return reducer.showToast(state, std::move(action.text), action.isError);
    }
    AppEffect operator()(AppAction::Viewports& action) {
        state.viewports = action.viewports;
        reducer.clampLists(state);
        return AppEffect::none();
    }
    AppEffect operator()(AppAction::WindowFocus& action) {
        state.isWindowFocused = action.focused;
        if (!action.focused || !state.workspace) return AppEffect::none();
        return reducer.reduceWorkspace(state, WorkspaceAction::FilesChanged{});
    }
    AppEffect operator()(AppAction::ExternalFinished& action) {
        // vim and vi were tried for `v`; the chosen editor for `o`.
        const bool wasCommand = state.externalRequest &&
                                std::holds_alternative<core::ExternalRequest::Command>(state.externalRequest->value);
        state.externalRequest.reset();
        AppEffect refresh =
            state.workspace ? reducer.reduceWorkspace(state, WorkspaceAction::FilesChanged{}) : AppEffect::none();
        if (!action.failed) return refresh;
        const core::Text failure = wasCommand ? core::Text::openInEditorUnavailable() : core::Text::externalEditorFailed();
        return AppEffect::merge(std::move(refresh), reducer.showToast(state, failure, false));
    }
    AppEffect operator()(AppAction::Tick&) { return AppEffect::none(); }
    AppEffect operator()(AppAction::Quit&) {
        state.shouldQuit = true;
        return AppEffect::none();
    }
};

// The diff offset that keeps the last row at the bottom of a pane of
// `height` rows (a height below 1 counts as 1).
std::int64_t clampedDiffOffset(std::int64_t offset, std::int64_t rows, std::int64_t height) {
    return std::min(std::max<std::int64_t>(0, rows - std::max<std::int64_t>(1, height)),
                    std::max<std::int64_t>(0, offset));
}

}  // namespace

AppReducer::AppReducer(Dependencies dependencies)
    : dependencies_(std::move(dependencies)), onboardingReducer_(dependencies_) {}

AppEffect AppReducer::reduce(AppState& state, AppAction action) const {
    state.now = dependencies_.clock->unixTime();
    // A credential prompt that leaves the screen without its own answer
    // (another overlay opened over it, another repository opened) is
    // answered with nothing here, so git never waits on a prompt nobody sees.
    std::optional<std::int64_t> unanswered = CredentialQueue::shownPrompt(state);
    if (unanswered && CredentialQueue::answersShownPrompt(action)) unanswered.reset();
    AppEffect effect = std::visit(Dispatch{*this, state}, action.value);
    AppEffect answers = CredentialQueue::settle(state, dependencies_.credentials, unanswered);
    if (answers.isEmpty()) return effect;
    return AppEffect::merge(std::move(effect), std::move(answers));
}

AppEffect AppReducer::showToast(AppState& state, core::Text text, bool isError) const {
    const std::int64_t id = ++state.toastCounter;
    state.toast = Toast{id, std::move(text), isError};
    const auto duration = std::chrono::seconds(isError ? 7 : 4);
    // A timer: a newer toast replaces it under the same id, and a replaced
    // timer never fires.
    return AppEffect::after("toast", duration, [id](AppEffect::Send send, std::stop_token) {
        send(AppAction::DismissToast{id});
    });
}

void AppReducer::clampLists(AppState& state) const {
    if (!state.workspace) return;
    WorkspaceState& workspace = *state.workspace;
    workspace.viewports = state.viewports;
    const Viewports& sizes = workspace.viewports;

    const std::int64_t visible = workspace.changes.visibleFiles(workspace.status).size();
    workspace.changes.list.clamp(visible, sizes.fileList);
    auto& changesDiff = workspace.changes.diff;
    changesDiff.offset = clampedDiffOffset(changesDiff.offset, changesDiff.rowCount(), sizes.diff);

    HistoryState& history = workspace.history;
    history.list.clamp(static_cast<std::int64_t>(history.commits.size()), sizes.historyList);
    history.filesList.clamp(static_cast<std::int64_t>(history.files.size()), sizes.historyFiles);
    history.diff.offset = clampedDiffOffset(history.diff.offset, history.diff.rowCount(), sizes.diff);
}

}  // namespace tarv::features
