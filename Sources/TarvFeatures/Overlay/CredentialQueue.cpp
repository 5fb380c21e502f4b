#include "TarvFeatures/Overlay/CredentialQueue.hpp"

#include <utility>
#include <variant>
#include <vector>

#include "TarvCore/Ports/CredentialBroker.hpp"
#include "TarvFeatures/App/AppState.hpp"

namespace tarv::features::CredentialQueue {

namespace {

// The overlays behind which queued prompts wait: the prompt on screen, and
// the sign-in that may answer them once it ends.
bool holdsQueue(const std::optional<Overlay>& overlay) {
    if (!overlay) return false;
    const Overlay::Kind kind = overlay->kind();
    return kind == Overlay::Kind::credentials || kind == Overlay::Kind::signIn;
}

}  // namespace

Effect<AppAction> respond(std::shared_ptr<core::CredentialBroker> broker, std::int64_t id,
                          std::optional<std::string> answer) {
    return Effect<AppAction>::run(std::nullopt, [broker = std::move(broker), id, answer = std::move(answer)](
                                                    Effect<AppAction>::Send, std::stop_token) {
        broker->respond(id, answer);
    });
}

void advance(AppState& state) {
    auto& pending = state.pendingCredentials;
    if (pending.empty()) {
        state.overlay.reset();
        return;
    }
    core::CredentialPrompt next = std::move(pending.front());
    pending.erase(pending.begin());
    state.overlay = CredentialPromptState(std::move(next));
}

std::optional<std::int64_t> shownPrompt(const AppState& state) {
    if (!state.overlay) return std::nullopt;
    const auto* shown = std::get_if<CredentialPromptState>(&state.overlay->value);
    if (shown == nullptr) return std::nullopt;
    return shown->prompt.id;
}

bool answersShownPrompt(const AppAction& action) {
    const auto* overlay = std::get_if<OverlayAction>(&action.value);
    if (overlay == nullptr) return false;
    return std::holds_alternative<OverlayAction::Dismiss>(overlay->value) ||
           std::holds_alternative<OverlayAction::Confirm>(overlay->value) ||
           std::holds_alternative<OverlayAction::Submitted>(overlay->value) ||
           std::holds_alternative<OverlayAction::ActivateSelection>(overlay->value);
}

Effect<AppAction> settle(AppState& state, const std::shared_ptr<core::CredentialBroker>& broker,
                         std::optional<std::int64_t> unanswered) {
    std::vector<Effect<AppAction>> answers;
    if (unanswered && shownPrompt(state) != unanswered) {
        answers.push_back(respond(broker, *unanswered, std::nullopt));
        if (!state.overlay) advance(state);
    }
    if (!state.pendingCredentials.empty() && !holdsQueue(state.overlay)) {
        if (!state.overlay) {
            advance(state);
        } else {
            for (const core::CredentialPrompt& prompt : state.pendingCredentials) {
                answers.push_back(respond(broker, prompt.id, std::nullopt));
            }
            state.pendingCredentials.clear();
        }
    }
    if (answers.empty()) return Effect<AppAction>::none();
    return Effect<AppAction>::merge(std::move(answers));
}

}  // namespace tarv::features::CredentialQueue
