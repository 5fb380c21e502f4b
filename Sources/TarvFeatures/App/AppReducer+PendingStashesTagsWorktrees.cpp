// Tag, worktree and stash members that the dispatch and the overlays
// already call: each does nothing until its group defines it in its own
// file and removes it from here (the file goes when empty).
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {

void AppReducer::worktreesLoaded(AppState&, std::vector<core::Worktree>) const {}
AppEffect AppReducer::worktreeChanged(AppState&, core::Text) const { return AppEffect::none(); }
AppEffect AppReducer::createTag(AppState&, const std::string&, const std::string&) const { return AppEffect::none(); }
AppEffect AppReducer::stashOperationDone(AppState&, core::Text) const { return AppEffect::none(); }
AppEffect AppReducer::stashOperationFailed(AppState&, const std::string&) const { return AppEffect::none(); }
AppEffect AppReducer::stashChanges(AppState&) const { return AppEffect::none(); }
AppEffect AppReducer::loadTags(const std::string&) const { return AppEffect::none(); }
AppEffect AppReducer::reloadWorktrees(const std::string&) const { return AppEffect::none(); }
AppEffect AppReducer::deleteSelectedTag(AppState&, const TagPickerState&) const { return AppEffect::none(); }
AppEffect AppReducer::jumpToTag(AppState&, const TagPickerState&) const { return AppEffect::none(); }
AppEffect AppReducer::removeSelectedWorktree(AppState&, const WorktreePickerState&) const { return AppEffect::none(); }
AppEffect AppReducer::addWorktree(AppState&, const NewWorktreeState&) const { return AppEffect::none(); }

}  // namespace tarv::features
