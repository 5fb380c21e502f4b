#pragma once

#include "TarvUI/Components/UIFrame.hpp"

namespace tarv::features {
struct OnboardingState;
}

// The first-run screen: the environment checks, then the identity form
// that fills in the commit author's name and e-mail.
namespace tarv::ui::OnboardingScreen {

void draw(UIFrame& frame, const features::OnboardingState& onboarding);

}  // namespace tarv::ui::OnboardingScreen
