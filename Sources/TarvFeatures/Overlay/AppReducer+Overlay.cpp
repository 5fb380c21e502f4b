// The overlay arm of the root reducer, and edits (typed or pasted) of the
// focused text field.
//
// Placeholder until that group lands: both arms do nothing. The engineer
// who builds the group replaces these bodies (and may split the file).
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {

AppEffect AppReducer::reduceOverlay(AppState&, OverlayAction) const {
    return AppEffect::none();
}

AppEffect AppReducer::apply(AppState&, const core::TextEdit&) const {
    return AppEffect::none();
}

}  // namespace tarv::features
