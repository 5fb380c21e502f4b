// Sync, failure-fix and credential-queue members that the dispatch and the
// overlays already call: each does nothing until the sync group defines it
// in its own file and removes it from here (the file goes when empty).
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {

AppEffect AppReducer::sync(AppState&, core::SyncAction) const { return AppEffect::none(); }
AppEffect AppReducer::syncFinished(AppState&, core::SyncAction, bool) const { return AppEffect::none(); }
AppEffect AppReducer::syncFailed(AppState&, core::SyncAction, const std::optional<core::RemoteFailure>&,
                                 const std::string&, bool) const {
    return AppEffect::none();
}
AppEffect AppReducer::autoFetchTick(AppState&) const { return AppEffect::none(); }
AppEffect AppReducer::apply(AppState&, const core::FailureFix&, const Overlay&) const { return AppEffect::none(); }
AppEffect AppReducer::resumePendingCredentials(AppState&) const { return AppEffect::none(); }

}  // namespace tarv::features
