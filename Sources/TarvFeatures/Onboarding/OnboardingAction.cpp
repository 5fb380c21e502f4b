#include "TarvFeatures/Onboarding/OnboardingAction.hpp"

namespace tarv::features {

OnboardingAction::OnboardingAction(const OnboardingAction&) = default;
OnboardingAction::OnboardingAction(OnboardingAction&&) noexcept = default;
OnboardingAction& OnboardingAction::operator=(const OnboardingAction&) = default;
OnboardingAction& OnboardingAction::operator=(OnboardingAction&&) noexcept = default;
OnboardingAction::~OnboardingAction() = default;
bool OnboardingAction::operator==(const OnboardingAction&) const = default;

OnboardingAction OnboardingAction::reportLoaded(core::EnvironmentReport report) {
    return ReportLoaded{std::move(report)};
}
OnboardingAction OnboardingAction::probeFailed(std::string message) { return ProbeFailed{std::move(message)}; }
OnboardingAction OnboardingAction::edit(core::TextEdit edit) { return Edit{std::move(edit)}; }
OnboardingAction OnboardingAction::focusField(OnboardingState::Field field) { return FocusField{field}; }
OnboardingAction OnboardingAction::cycleField(bool reverse) { return CycleField{reverse}; }
OnboardingAction OnboardingAction::storeCredentialsToggled(bool on) { return StoreCredentialsToggled{on}; }
OnboardingAction OnboardingAction::saveFailed(std::string message) { return SaveFailed{std::move(message)}; }
OnboardingAction OnboardingAction::started() { return Started{}; }
OnboardingAction OnboardingAction::retryTapped() { return RetryTapped{}; }
OnboardingAction OnboardingAction::continueAnywayTapped() { return ContinueAnywayTapped{}; }
OnboardingAction OnboardingAction::saveTapped() { return SaveTapped{}; }
OnboardingAction OnboardingAction::saved() { return Saved{}; }
OnboardingAction OnboardingAction::skipTapped() { return SkipTapped{}; }

}  // namespace tarv::features
