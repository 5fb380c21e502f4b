#pragma once

#include <string>

#include "TarvFeatures/App/AppState.hpp"

// The line written on the normal screen when the program has quit and still
// waits for work under way (a commit whose hooks run long, a push): what it
// waits for, and that ctrl-C ends the program at once while git, which runs
// in a session of its own, finishes by itself. In the state's language.
namespace tarv::app::QuitNotice {

std::string waiting(const features::AppState& state);

}  // namespace tarv::app::QuitNotice
