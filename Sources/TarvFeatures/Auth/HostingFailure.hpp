#pragma once

#include <exception>
#include <functional>

#include "TarvCore/Localization/Text.hpp"
#include "TarvFeatures/App/AppAction.hpp"

namespace tarv::features {

// How a job reports a failed hosting call made with the stored session:
// - an unauthorized answer means the session is no longer valid:
//   `sessionExpired` is sent first, then `failed` with the unauthorized text;
// - any other failure sends `failed` with its wording
//   (AppReducer::hostingText), unless `quiet`: a stopped load says nothing,
//   its failure would cover the answer of the load that replaced it.
// An empty `failed` (background work that shows no failure) sends only the
// expired session.
void sendHostingFailure(const std::function<void(AppAction)>& send, const std::exception_ptr& error, bool quiet,
                        const std::function<AppAction(core::Text)>& failed);

}  // namespace tarv::features
