#pragma once

#include "TarvFeatures/App/AppState.hpp"

namespace tarv::app::BusyRule {

// Whether the state shows something running that the spinner turns for:
// the onboarding checks; the whole launch; a fetch, pull or push of the open
// workspace; a clone from the welcome screen's clone dialog.
bool isBusy(const features::AppState& state);

}  // namespace tarv::app::BusyRule
