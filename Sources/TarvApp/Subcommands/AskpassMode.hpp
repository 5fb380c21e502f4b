#pragma once

#include <optional>

namespace tarv::app {

// When the process was started under the askpass name ("tarv-askpass"),
// runs the askpass client as the whole program and returns its exit status;
// otherwise returns empty and does nothing. Called first thing in main.
std::optional<int> runAskpassModeIfInvoked(int argc, char** argv);

}  // namespace tarv::app
