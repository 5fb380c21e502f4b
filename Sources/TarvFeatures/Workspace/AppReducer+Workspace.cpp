// The workspace arm of the root reducer: every action on the open repository.
//
// Placeholder until that group lands: the arm does nothing. The engineer
// who builds the group replaces this body (and may split the file).
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {

AppEffect AppReducer::reduceWorkspace(AppState&, WorkspaceAction) const {
    return AppEffect::none();
}

}  // namespace tarv::features
