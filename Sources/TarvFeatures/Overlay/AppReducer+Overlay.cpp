// The overlay arm of the root reducer: gestures inside the open overlay and
// the results of the jobs that belong to one.
//
// A result is applied only while the overlay it belongs to is still the open
// one (its kind); with any other overlay open it is dropped. The exceptions
// act whatever is open: opening a repository (created, cloned), a fix button
// and a finished publish. Closing an overlay cancels the jobs that only fed
// it.
#include <utility>
#include <variant>

#include "TarvCore/Ports/PlatformServices.hpp"
#include "TarvCore/Rules/Trimmed.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/Overlay/OverlayRows.hpp"

namespace tarv::features {

namespace {

// The open overlay's state when it is of kind `Payload`; null otherwise.
template <class Payload>
Payload* openAs(AppState& state) {
    return std::get_if<Payload>(&state.overlay->value);
}

// Runs `body(list, rows)` on the open overlay's list, for the kinds that
// have one.
template <class Body>
void updateList(AppState& state, Body body) {
    core::ListScroll* list = OverlayRows::list(*state.overlay);
    if (list == nullptr) return;
    body(*list, OverlayRows::count(state, *state.overlay));
}

struct OverlayDispatch {
    const AppReducer& reducer;
    const Dependencies& dependencies;
    AppState& state;

    std::int64_t picker() const { return state.viewports.picker; }

    AppEffect operator()(const OverlayAction::MoveSelection& a) {
        updateList(state, [&](core::ListScroll& list, std::int64_t rows) { list.move(a.by, rows, picker()); });
        return AppEffect::none();
    }
    AppEffect operator()(const OverlayAction::Select& a) {
        updateList(state, [&](core::ListScroll& list, std::int64_t rows) { list.select(a.index, rows, picker()); });
        return AppEffect::none();
    }
    AppEffect operator()(const OverlayAction::Scroll& a) {
        updateList(state, [&](core::ListScroll& list, std::int64_t rows) { list.scroll(a.by, rows, picker()); });
        return AppEffect::none();
    }

    AppEffect operator()(const OverlayAction::SetBranchTab& a) {
        auto* branches = openAs<BranchPickerState>(state);
        if (branches == nullptr || branches->tab == a.tab) return AppEffect::none();
        branches->tab = a.tab;
        branches->list = core::ListScroll{.offset = 0, .selected = 0};
        if (a.tab == BranchPickerState::Tab::pullRequests) return reducer.loadPullRequests(state);
        return AppEffect::merge(AppEffect::cancel("pullRequests"), AppEffect::cancel("pullRequestChecks"));
    }

    AppEffect operator()(const OverlayAction::ApplyFix& a) {
        const Overlay from = *state.overlay;
        return reducer.apply(state, a.fix, from);
    }

    AppEffect operator()(OverlayAction::PathChecked& a) {
        auto* prompt = openAs<PathPromptState>(state);
        if (prompt == nullptr) return AppEffect::none();
        if (a.root) return reducer.open(state, *a.root);
        prompt->isChecking = false;
        prompt->error = core::Text::notARepository(core::trimmed(prompt->path.text()));
        prompt->offersCreate = true;
        return AppEffect::none();
    }
    AppEffect operator()(const OverlayAction::RepositoryCreated& a) { return reducer.open(state, a.path); }
    AppEffect operator()(OverlayAction::CreateRepositoryFailed& a) {
        auto* prompt = openAs<PathPromptState>(state);
        if (prompt == nullptr) return AppEffect::none();
        prompt->error = std::move(a.text);
        prompt->isChecking = false;
        return AppEffect::none();
    }

    AppEffect operator()(const OverlayAction::CloneFinished& a) { return reducer.open(state, a.path); }
    AppEffect operator()(OverlayAction::CloneFailed& a) {
        auto* prompt = openAs<ClonePromptState>(state);
        if (prompt == nullptr) return AppEffect::none();
        prompt->isCloning = false;
        prompt->error = std::move(a.text);
        return AppEffect::none();
    }
    AppEffect operator()(const OverlayAction::SwitchCloneField&) {
        auto* prompt = openAs<ClonePromptState>(state);
        if (prompt == nullptr) return AppEffect::none();
        prompt->field = prompt->field == ClonePromptState::Field::url ? ClonePromptState::Field::destination
                                                                      : ClonePromptState::Field::url;
        return AppEffect::none();
    }

    AppEffect operator()(const OverlayAction::FocusPublishField& a) {
        if (auto* form = openAs<PublishRepositoryState>(state)) form->field = a.field;
        return AppEffect::none();
    }
    AppEffect operator()(const OverlayAction::PublishFinished& a) {
        return reducer.publishFinished(state, a.fullName);
    }
    AppEffect operator()(OverlayAction::PublishFailed& a) {
        if (auto* form = openAs<PublishRepositoryState>(state)) {
            form->isPublishing = false;
            form->error = std::move(a.text);
        } else {
            // The form is gone: the failure still has to be seen.
            state.overlay = Overlay::message(core::Text::syncFailedTitle(), std::move(a.text));
        }
        return AppEffect::none();
    }
    AppEffect operator()(const OverlayAction::TogglePublishPrivate&) {
        auto* form = openAs<PublishRepositoryState>(state);
        if (form != nullptr && !form->isPublishing) form->isPrivate = !form->isPrivate;
        return AppEffect::none();
    }

    AppEffect operator()(const OverlayAction::Dismiss&) {
        if (auto* credentials = openAs<CredentialPromptState>(state)) {
            const bool confirmation = credentials->prompt.kind == core::CredentialPrompt::Kind::confirmation;
            const core::CredentialPrompt prompt = credentials->prompt;
            return reducer.answerCredential(state, prompt,
                                            confirmation ? std::optional<std::string>("no") : std::nullopt);
        }
        const Overlay::Kind kind = state.overlay->kind();
        state.overlay.reset();
        switch (kind) {
            case Overlay::Kind::signIn:
                return AppEffect::merge(AppEffect::cancel("signIn"), reducer.resumePendingCredentials(state));
            case Overlay::Kind::branches:
                return AppEffect::merge(AppEffect::cancel("pullRequests"), AppEffect::cancel("pullRequestChecks"));
            case Overlay::Kind::clone:
                return AppEffect::cancel("cloneRepositories");
            default:
                return AppEffect::none();
        }
    }

    AppEffect operator()(const OverlayAction::ActivateSelection&) {
        const Overlay overlay = *state.overlay;
        return reducer.activateSelection(state, overlay);
    }
    AppEffect operator()(const OverlayAction::Submitted&) {
        const Overlay overlay = *state.overlay;
        return reducer.submit(state, overlay);
    }
    AppEffect operator()(const OverlayAction::CreateRepositoryInstead&) {
        auto* prompt = openAs<PathPromptState>(state);
        if (prompt == nullptr || !prompt->offersCreate) return AppEffect::none();
        prompt->isCreating = true;
        const Overlay overlay = *state.overlay;
        return reducer.submit(state, overlay);
    }

    AppEffect operator()(const OverlayAction::Confirm&) {
        if (auto* credentials = openAs<CredentialPromptState>(state)) {
            const core::CredentialPrompt prompt = credentials->prompt;
            return reducer.answerCredential(state, prompt, "yes");
        }
        if (auto* signIn = openAs<SignInState>(state)) return confirmSignIn(*signIn);
        if (auto* discard = openAs<Overlay::ConfirmDiscard>(state)) {
            auto files = std::move(discard->files);
            state.overlay.reset();
            if (!state.workspace) return AppEffect::none();
            return reducer.discard(state, std::move(files));
        }
        if (auto* deletion = openAs<DeleteBranchState>(state)) {
            WorkspaceAction::DeleteBranch request{std::move(deletion->name), deletion->needsForce};
            state.overlay.reset();
            return reducer.reduceWorkspace(state, std::move(request));
        }
        state.overlay.reset();
        return AppEffect::none();
    }

    // Enter on the sign-in code: the code goes to the clipboard and the
    // verification page opens (a copy that fails still opens the page; the
    // code is on screen). A failed sign-in starts again.
    AppEffect confirmSignIn(const SignInState& signIn) {
        if (std::holds_alternative<SignInState::Status::Failed>(signIn.status.value)) {
            return reducer.beginSignIn(state);
        }
        const core::DeviceCode* code = signIn.code();
        if (code == nullptr) return AppEffect::none();
        return AppEffect::run(std::nullopt, [platform = dependencies.platform, userCode = code->userCode,
                                             url = code->verificationURL](AppEffect::Send, std::stop_token stop) {
            try {
                platform->copyToClipboard(userCode, stop);
            } catch (...) {
            }
            try {
                platform->openURL(url, stop);
            } catch (...) {
            }
        });
    }

    AppEffect operator()(const OverlayAction::DropSelection&) {
        if (auto* stashes = openAs<StashPickerState>(state)) {
            const StashPickerState picker = *stashes;
            return reducer.dropSelectedStash(state, picker);
        }
        if (auto* tags = openAs<TagPickerState>(state)) {
            const TagPickerState picker = *tags;
            return reducer.deleteSelectedTag(state, picker);
        }
        if (auto* worktrees = openAs<WorktreePickerState>(state)) {
            const WorktreePickerState picker = *worktrees;
            return reducer.removeSelectedWorktree(state, picker);
        }
        return AppEffect::none();
    }
};

}  // namespace

AppEffect AppReducer::reduceOverlay(AppState& state, OverlayAction action) const {
    if (!state.overlay) return AppEffect::none();
    return std::visit(OverlayDispatch{*this, dependencies_, state}, action.value);
}

}  // namespace tarv::features
