#pragma once

#include <exception>
#include <memory>
#include <string>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Ports/PlatformServices.hpp"
#include "TarvFeatures/App/AppAction.hpp"
#include "TarvFeatures/Architecture/Effect.hpp"

namespace tarv::features::PlatformJobs {

// What the user reads when a desktop service failed: the platform's own
// reasons in the user's language ("no clipboard tool: install wl-copy, xclip
// or xsel", no graphical session or no xdg-open for the editor), a failing
// tool's name and message, else the error's description.
core::Text failureText(const std::exception_ptr& error);

// An anonymous job that copies `text` to the clipboard; a failure is sent as
// an error notice, which takes the place of the "copied" toast.
Effect<AppAction> copy(std::shared_ptr<core::PlatformServices> platform, std::string text);

// An anonymous job that opens `path` in the desktop editor; a failure is
// sent as an error notice.
Effect<AppAction> openInEditor(std::shared_ptr<core::PlatformServices> platform, std::string path);

}  // namespace tarv::features::PlatformJobs
