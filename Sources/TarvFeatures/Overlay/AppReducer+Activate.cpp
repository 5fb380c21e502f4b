// Activating the selected row of the open overlay.
//
// Placeholder until that group lands: does nothing.
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {

AppEffect AppReducer::activateSelection(AppState&, const Overlay&) const { return AppEffect::none(); }

}  // namespace tarv::features
