// Submitting the open prompt.
//
// Placeholder until that group lands: does nothing.
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {

AppEffect AppReducer::submit(AppState&, const Overlay&) const { return AppEffect::none(); }

}  // namespace tarv::features
