// Sign-in, pull-request, check-run, clone and publish members that the
// dispatch, the commands and the overlays already call: each does nothing
// until the hosting group defines it in its own file and removes it from
// here (the file goes when empty).
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {

AppEffect AppReducer::refreshChecks(AppState&, bool) const { return AppEffect::none(); }
AppEffect AppReducer::beginSignIn(AppState&) const { return AppEffect::none(); }
AppEffect AppReducer::openClone(AppState&) const { return AppEffect::none(); }
AppEffect AppReducer::openPublish(AppState&, const std::string&) const { return AppEffect::none(); }
AppEffect AppReducer::loadPullRequests(AppState&) const { return AppEffect::none(); }
AppEffect AppReducer::checkoutPullRequest(AppState&, const core::PullRequest&) const { return AppEffect::none(); }
AppEffect AppReducer::publishFinished(AppState&, const std::string&) const { return AppEffect::none(); }
AppEffect AppReducer::submitPublish(AppState&, const PublishRepositoryState&) const { return AppEffect::none(); }
AppEffect AppReducer::startClone(AppState&, const std::string&, const std::string&) const { return AppEffect::none(); }

}  // namespace tarv::features
