#pragma once

#include <ostream>

#include "TarvFeatures/App/AppAction.hpp"

// GoogleTest printers for the action types, so that EXPECT_EQ on actions (or
// lists of them) shows the differing actions: each case by its name with its
// payload, e.g. WorkspaceAction::SelectFile{"a.txt"}.
namespace tarv::features {

void PrintTo(const AppAction& action, std::ostream* os);
void PrintTo(const WorkspaceAction& action, std::ostream* os);
void PrintTo(const OverlayAction& action, std::ostream* os);
void PrintTo(const AuthAction& action, std::ostream* os);
void PrintTo(const OnboardingAction& action, std::ostream* os);

}  // namespace tarv::features
