// Git's credential prompts: answered from the session, shown, or queued.
//
// Placeholder until that group lands: the arm does nothing. The engineer
// who builds the group replaces this body (and may split the file).
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {

AppEffect AppReducer::credentialRequested(AppState&, core::CredentialPrompt) const {
    return AppEffect::none();
}

}  // namespace tarv::features
