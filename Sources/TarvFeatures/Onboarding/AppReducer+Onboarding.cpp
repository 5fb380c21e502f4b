// The onboarding arm of the root reducer: the onboarding reducer's own
// state machine, lifted into the application's actions, after which the
// launch may go on (the onboarding is one of its three gates).
#include <utility>

#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {

AppEffect AppReducer::reduceOnboarding(AppState& state, OnboardingAction action) const {
    auto effect = onboardingReducer_.reduce(state.onboarding, std::move(action))
                      .map<AppAction>([](OnboardingAction sent) { return AppAction(std::move(sent)); });
    return AppEffect::merge(std::move(effect), advanceLaunch(state));
}

}  // namespace tarv::features
