#include "TarvFeatures/App/AppState.hpp"

namespace tarv::features {

namespace {

// Whether the overlay has the keyboard for a text field.
bool overlayEditsText(const Overlay& overlay) {
    using Kind = Overlay::Kind;
    switch (overlay.kind()) {
    case Kind::repositories:
    case Kind::branches:
    case Kind::palette:
    case Kind::newBranch:
    case Kind::addRepository:
    case Kind::coAuthor:
    case Kind::newTag:
    case Kind::newWorktree:
    case Kind::clone:
        return true;
    case Kind::publishRepository:
        return std::get<PublishRepositoryState>(overlay.value).field != PublishRepositoryState::Field::visibility;
    case Kind::credentials:
        return std::get<CredentialPromptState>(overlay.value).prompt.kind !=
               core::CredentialPrompt::Kind::confirmation;
    case Kind::confirmDiscard:
    case Kind::confirmDeleteBranch:
    case Kind::message:
    case Kind::signIn:
    case Kind::tags:
    case Kind::worktrees:
    case Kind::contextMenu:
    case Kind::stashes:
    case Kind::help:
        return false;
    }
    return false;
}

bool workspaceEditsText(const WorkspaceState& workspace) {
    switch (workspace.focus) {
    case WorkspaceFocus::summary:
    case WorkspaceFocus::description:
        return true;
    case WorkspaceFocus::files:
        return workspace.tab == WorkspaceTab::changes && workspace.changes.isFilterFocused;
    case WorkspaceFocus::diff:
    case WorkspaceFocus::historyList:
    case WorkspaceFocus::historyFiles:
    case WorkspaceFocus::historyDiff:
        return false;
    }
    return false;
}

}  // namespace

AppState::AppState(core::Language language) : language(language) {}

AppState::Phase AppState::phase() const {
    if (!onboarding.step.is<OnboardingState::Step::Done>()) return Phase::onboarding;
    if (workspace) return Phase::workspace;
    if (launchHandled) return Phase::welcome;
    if (registryLoaded && startResolved) return Phase::welcome;
    return Phase::launching;
}

bool AppState::isEditingText() const {
    if (overlay) return overlayEditsText(*overlay);
    if (phase() == Phase::onboarding) return onboarding.step.is<OnboardingState::Step::Identity>();
    if (workspace) return workspaceEditsText(*workspace);
    return false;
}

AppState::AppState(const AppState&) = default;
AppState::AppState(AppState&&) noexcept = default;
AppState& AppState::operator=(const AppState&) = default;
AppState& AppState::operator=(AppState&&) noexcept = default;
AppState::~AppState() = default;
bool AppState::operator==(const AppState&) const = default;

}  // namespace tarv::features
