// The hosting session and sign-in arm of the root reducer.
//
// Placeholder until that group lands: the arm does nothing. The engineer
// who builds the group replaces this body (and may split the file).
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {

AppEffect AppReducer::reduceAuth(AppState&, AuthAction) const {
    return AppEffect::none();
}

}  // namespace tarv::features
