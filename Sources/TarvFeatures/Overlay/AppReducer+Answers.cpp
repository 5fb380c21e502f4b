// Answering a credential prompt (and moving its queue on), and the guarded
// request to delete a branch.
#include <utility>

#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/Overlay/CredentialQueue.hpp"

namespace tarv::features {

AppEffect AppReducer::answerCredential(AppState& state, const core::CredentialPrompt& prompt,
                                       std::optional<std::string> answer) const {
    CredentialQueue::advance(state);
    return CredentialQueue::respond(dependencies_.credentials, prompt.id, std::move(answer));
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
