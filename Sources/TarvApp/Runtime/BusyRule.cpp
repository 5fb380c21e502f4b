#include "TarvApp/Runtime/BusyRule.hpp"

#include <variant>

namespace tarv::app::BusyRule {
namespace {

bool isCloning(const features::AppState& state) {
    if (!state.overlay) return false;
    const auto* clone = std::get_if<features::ClonePromptState>(&state.overlay->value);
    return clone != nullptr && clone->isCloning;
}

}  // namespace

bool isBusy(const features::AppState& state) {
    using Phase = features::AppState::Phase;
    switch (state.phase()) {
    case Phase::onboarding: return state.onboarding.step.is<features::OnboardingState::Step::Checking>();
    case Phase::launching: return true;
    case Phase::workspace:
        if (state.workspace && state.workspace->sync.activity) return true;
        return isCloning(state);
    case Phase::welcome: return isCloning(state);
    }
    return false;
}

}  // namespace tarv::app::BusyRule
