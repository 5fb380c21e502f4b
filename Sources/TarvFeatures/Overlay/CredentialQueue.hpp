#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "TarvFeatures/App/AppAction.hpp"
#include "TarvFeatures/Architecture/Effect.hpp"

namespace tarv::core {
class CredentialBroker;
}

namespace tarv::features {

struct AppState;

// The prompts git is waiting on: at most one shown (the credentials
// overlay), the rest queued in `AppState::pendingCredentials` while a
// credentials or sign-in overlay is open.
//
// Every prompt is answered exactly once. The credentials overlay answers its
// own prompt (dismiss, confirm, submit, Enter); when the prompt goes away any
// other way (a menu, a message or another overlay opens over it, another
// repository is opened) it is answered with nothing, a cancellation, in the
// same step, and the queue behind it moves on when the screen is free or is
// cancelled too when another overlay took the screen. Otherwise git's helper
// would wait for minutes and the repository's writes behind it with it.
namespace CredentialQueue {

// Job without id: hands `answer` (none: a cancellation) for the prompt `id`
// to the broker; sends nothing.
Effect<AppAction> respond(std::shared_ptr<core::CredentialBroker> broker, std::int64_t id,
                          std::optional<std::string> answer);

// Shows the oldest queued prompt with an empty answer, or closes the overlay
// when none is queued.
void advance(AppState& state);

// The id of the prompt on screen; none without a credentials overlay.
std::optional<std::int64_t> shownPrompt(const AppState& state);

// Whether `action` is one of the credentials overlay's own answers (dismiss,
// confirm, submit, Enter), which answer the shown prompt themselves.
bool answersShownPrompt(const AppAction& action);

// After an action: `unanswered` (the prompt shown before it, unless the
// action answered it) is answered with nothing when it is no longer shown,
// and queued prompts that can no longer be shown are shown (nothing else on
// screen) or cancelled (another overlay took the screen). The sign-in
// overlay keeps the queue: it is resumed when the sign-in ends.
Effect<AppAction> settle(AppState& state, const std::shared_ptr<core::CredentialBroker>& broker,
                         std::optional<std::int64_t> unanswered);

}  // namespace CredentialQueue

}  // namespace tarv::features
