// Keys of the screens before a workspace: the welcome screen and the
// onboarding checks. Both tables are fixed; the keymap file does not
// change them.
#include "TarvFeatures/App/AppState.hpp"
#include "TarvUI/Routing/InputRouter.hpp"
#include "TarvUI/Routing/KeyMatch.hpp"

namespace tarv::ui {

using core::AppCommand;
using features::AppAction;
using features::OnboardingAction;
using features::OnboardingState;
using terminal::KeyCode;
using terminal::KeyEvent;

namespace {

AppAction command(AppCommand command) { return AppAction::Command{command}; }

bool isF1(const KeyEvent& key) {
    const auto* function = std::get_if<KeyCode::Function>(&key.code.value);
    return function != nullptr && function->number == 1 && key.modifiers.isEmpty();
}

std::vector<AppAction> identityKey(const KeyEvent& key, const OnboardingState& onboarding) {
    if (KeyMatch::named<KeyCode::Tab>(key)) return {OnboardingAction::cycleField(false)};
    if (KeyMatch::named<KeyCode::BackTab>(key)) return {OnboardingAction::cycleField(true)};
    if (KeyMatch::control(key, "s")) return {OnboardingAction::saveTapped()};
    if (KeyMatch::named<KeyCode::Escape>(key)) return {OnboardingAction::skipTapped()};
    if (KeyMatch::named<KeyCode::Enter>(key)) {
        if (onboarding.focusedField == OnboardingState::Field::defaultBranch) return {OnboardingAction::saveTapped()};
        return {OnboardingAction::cycleField(false)};
    }
    // The reducer applies a plain edit to the focused field of the form.
    if (auto edit = InputRouter::textEdit(key)) return {AppAction::Edit{std::move(*edit)}};
    return {};
}

}  // namespace

std::vector<AppAction> InputRouter::welcomeKey(const KeyEvent& key) {
    using KeyMatch::control;
    using KeyMatch::plain;
    if (control(key, "q") || plain(key, "q")) return {AppAction::Quit{}};
    if (control(key, "r") || KeyMatch::exactly<KeyCode::Enter>(key)) return {command(AppCommand::openRepositoryPicker)};
    if (control(key, "o") || plain(key, "a")) return {command(AppCommand::addRepository)};
    if (control(key, "n") || plain(key, "c")) return {command(AppCommand::cloneRepository)};
    if (plain(key, "n")) return {command(AppCommand::createRepository)};
    if (control(key, "p") || plain(key, ":")) return {command(AppCommand::commandPalette)};
    if (plain(key, "?") || isF1(key)) return {command(AppCommand::help)};
    return {};
}

std::vector<AppAction> InputRouter::onboardingKey(const KeyEvent& key, const features::AppState& state) {
    if (KeyMatch::control(key, "q")) return {AppAction::Quit{}};
    const OnboardingState& onboarding = state.onboarding;
    const auto& step = onboarding.step;
    const bool enter = KeyMatch::named<KeyCode::Enter>(key);
    const bool quit = KeyMatch::plain(key, "q");
    if (step.is<OnboardingState::Step::GitTooOld>()) {
        if (enter) return {OnboardingAction::continueAnywayTapped()};
        if (KeyMatch::plain(key, "r")) return {OnboardingAction::retryTapped()};
        if (quit) return {AppAction::Quit{}};
        return {};
    }
    if (step.is<OnboardingState::Step::Failed>() || step.is<OnboardingState::Step::GitMissing>()) {
        if (enter || KeyMatch::plain(key, "r")) return {OnboardingAction::retryTapped()};
        if (quit) return {AppAction::Quit{}};
        return {};
    }
    if (step.is<OnboardingState::Step::Identity>()) return identityKey(key, onboarding);
    if (quit) return {AppAction::Quit{}};
    return {};
}

}  // namespace tarv::ui
