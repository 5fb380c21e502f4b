// Members that the workspace dispatch already calls but whose groups have
// not landed yet: each does nothing until its group defines it in its own
// file and removes it from here.
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {

// ---- Branches, merges, history operations, tags, worktrees, stashes ----

void AppReducer::worktreesLoaded(AppState&, std::vector<core::Worktree>) const {}
AppEffect AppReducer::worktreeChanged(AppState&, core::Text) const { return AppEffect::none(); }
AppEffect AppReducer::createTag(AppState&, const std::string&, const std::string&) const { return AppEffect::none(); }
AppEffect AppReducer::stashOperationDone(AppState&, core::Text) const { return AppEffect::none(); }
AppEffect AppReducer::stashOperationFailed(AppState&, const std::string&) const { return AppEffect::none(); }
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

// ---- Sync and check runs ------------------------------------------------

AppEffect AppReducer::sync(AppState&, core::SyncAction) const { return AppEffect::none(); }
AppEffect AppReducer::syncFinished(AppState&, core::SyncAction, bool) const { return AppEffect::none(); }
AppEffect AppReducer::syncFailed(AppState&, core::SyncAction, const std::optional<core::RemoteFailure>&,
                                 const std::string&, bool) const {
    return AppEffect::none();
}
AppEffect AppReducer::autoFetchTick(AppState&) const { return AppEffect::none(); }
AppEffect AppReducer::refreshChecks(AppState&, bool) const { return AppEffect::none(); }

}  // namespace tarv::features

// ---- Called by commands (issue 22), defined by their groups -------------

namespace tarv::features {

AppEffect AppReducer::stashChanges(AppState&) const { return AppEffect::none(); }
AppEffect AppReducer::loadTags(const std::string&) const { return AppEffect::none(); }
AppEffect AppReducer::reloadWorktrees(const std::string&) const { return AppEffect::none(); }
AppEffect AppReducer::beginSignIn(AppState&) const { return AppEffect::none(); }
AppEffect AppReducer::openClone(AppState&) const { return AppEffect::none(); }
AppEffect AppReducer::openPublish(AppState&, const std::string&) const { return AppEffect::none(); }

}  // namespace tarv::features
