// Branch, merge and history-operation members that the dispatch already
// calls: each does nothing until the branches group defines it in its own
// file and removes it from here (the file goes when empty).
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {

AppEffect AppReducer::merge(AppState&, const std::string&) const { return AppEffect::none(); }
AppEffect AppReducer::mergeFinished(AppState&, const std::string&, const core::MergeResult&) const {
    return AppEffect::none();
}
AppEffect AppReducer::mergeFailed(AppState&, const std::string&) const { return AppEffect::none(); }
AppEffect AppReducer::revert(AppState&, const std::string&) const { return AppEffect::none(); }
AppEffect AppReducer::cherryPick(AppState&, const std::string&) const { return AppEffect::none(); }
AppEffect AppReducer::reset(AppState&, const std::string&, core::ResetMode) const { return AppEffect::none(); }
AppEffect AppReducer::editHistory(AppState&, const core::HistoryEdit&) const { return AppEffect::none(); }
AppEffect AppReducer::rebase(AppState&, const std::string&) const { return AppEffect::none(); }
AppEffect AppReducer::continueOperation(AppState&) const { return AppEffect::none(); }
AppEffect AppReducer::abortOperation(AppState&) const { return AppEffect::none(); }
AppEffect AppReducer::operationAborted(AppState&) const { return AppEffect::none(); }
AppEffect AppReducer::finish(AppState&, const ReplayKind&, const core::OperationResult&) const {
    return AppEffect::none();
}
AppEffect AppReducer::renameBranch(AppState&, const std::string&, const std::string&) const {
    return AppEffect::none();
}
AppEffect AppReducer::deleteBranch(AppState&, const std::string&, bool) const { return AppEffect::none(); }
AppEffect AppReducer::deleteNeedsForce(AppState&, const std::string&) const { return AppEffect::none(); }
AppEffect AppReducer::switchBranch(AppState&, const std::string&) const { return AppEffect::none(); }
AppEffect AppReducer::createBranch(AppState&, const std::string&, const std::optional<std::string>&) const {
    return AppEffect::none();
}
AppEffect AppReducer::branchOperationDone(AppState&, core::Text) const { return AppEffect::none(); }
AppEffect AppReducer::branchOperationFailed(AppState&, const std::string&) const { return AppEffect::none(); }

}  // namespace tarv::features
