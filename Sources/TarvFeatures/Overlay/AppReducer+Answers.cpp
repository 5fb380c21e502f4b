// Answering a credential prompt (and moving its queue on), and the guarded
// request to delete a branch.
#include <utility>

#include "TarvCore/Ports/CredentialBroker.hpp"
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {

AppEffect AppReducer::answerCredential(AppState& state, const core::CredentialPrompt& prompt,
                                       std::optional<std::string> answer) const {
    if (state.pendingCredentials.empty()) {
        state.overlay.reset();
    } else {
        core::CredentialPrompt next = std::move(state.pendingCredentials.front());
        state.pendingCredentials.erase(state.pendingCredentials.begin());
        state.overlay = CredentialPromptState(std::move(next));
    }
    return AppEffect::run(std::nullopt, [credentials = dependencies_.credentials, id = prompt.id,
                                         answer = std::move(answer)](AppEffect::Send, std::stop_token) {
        credentials->respond(id, answer);
    });
}

AppEffect AppReducer::requestDelete(AppState& state, const std::string& branch) const {
    if (!state.workspace) return AppEffect::none();
    const WorkspaceState& workspace = *state.workspace;
    if (branch == workspace.status.branch.head.value_or("HEAD")) {
        state.overlay.reset();
        return showToast(state, core::Text::toastCannotDeleteCurrentBranch(), false);
    }
    for (const core::Branch& entry : workspace.branches) {
        if (entry.name == branch && !entry.isRemote) {
            state.overlay = DeleteBranchState{branch, false};
            return AppEffect::none();
        }
    }
    return AppEffect::none();
}

}  // namespace tarv::features
