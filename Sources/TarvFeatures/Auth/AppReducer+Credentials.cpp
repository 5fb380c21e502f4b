// Git's credential prompts: answered at once from the hosting session when
// git asks for its user name or password over HTTPS, else shown to the user
// one at a time; the others wait in `pendingCredentials` while a prompt or
// the sign-in is on screen.
#include <utility>
#include <vector>

#include "TarvCore/Ports/CredentialBroker.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/Auth/GitHubCredentialAnswer.hpp"

namespace tarv::features {

AppEffect AppReducer::credentialRequested(AppState& state, core::CredentialPrompt prompt) const {
    if (state.session && !state.gitTokenRejected) {
        if (std::optional<std::string> answer = GitHubCredentialAnswer::answer(prompt, *state.session)) {
            state.answeredGitWithSession = true;
            return AppEffect::run(std::nullopt, [credentials = dependencies_.credentials, id = prompt.id,
                                                 answer = std::move(answer)](AppEffect::Send, std::stop_token) {
                credentials->respond(id, answer);
            });
        }
    }
    if (state.overlay &&
        (state.overlay->kind() == Overlay::Kind::credentials || state.overlay->kind() == Overlay::Kind::signIn)) {
        state.pendingCredentials.push_back(std::move(prompt));
        return AppEffect::none();
    }
    state.overlay = CredentialPromptState(std::move(prompt));
    return AppEffect::none();
}

AppEffect AppReducer::resumePendingCredentials(AppState& state) const {
    std::vector<core::CredentialPrompt> waiting = std::exchange(state.pendingCredentials, {});
    std::vector<AppEffect> effects;
    effects.reserve(waiting.size());
    for (core::CredentialPrompt& prompt : waiting) effects.push_back(credentialRequested(state, std::move(prompt)));
    return AppEffect::merge(std::move(effects));
}

}  // namespace tarv::features
