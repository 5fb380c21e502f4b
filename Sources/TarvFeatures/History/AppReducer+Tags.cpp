// Tags: creating one on the selected commit, listing them for the picker,
// jumping from a tag to its commit in the History tab, and deleting one from
// the picker.
//
// Creating and deleting run as the job "branch" and report through the
// branch outcomes. Like every branch write they are never stopped half-way:
// a later job under the same id does not kill git in the middle of writing a
// reference, the repository's write queue runs it afterwards, and both
// report.
#include <algorithm>
#include <exception>
#include <utility>

#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features {

namespace {

// The tag under the picker's selection, when there is one.
const core::Tag* selectedTag(const TagPickerState& picker) {
    if (!picker.list.selected) return nullptr;
    const std::int64_t selected = *picker.list.selected;
    if (selected < 0 || selected >= static_cast<std::int64_t>(picker.tags.size())) return nullptr;
    return &picker.tags[static_cast<std::size_t>(selected)];
}

}  // namespace

AppEffect AppReducer::loadTags(const std::string& path) const {
    return AppEffect::run("tags", [repository = dependencies_.repository, path](AppEffect::Send send,
                                                                               std::stop_token stop) {
        try {
            send(WorkspaceAction::TagsLoaded{repository->tags(path, stop)});
        } catch (...) {
            // The picker keeps the list it was opened with.
        }
    });
}

AppEffect AppReducer::createTag(AppState& state, const std::string& name, const std::string& at) const {
    return AppEffect::run("branch", [repository = dependencies_.repository, path = state.workspace->path, name,
                                     at](AppEffect::Send send, std::stop_token) {
        try {
            repository->createTag(path, name, at, std::stop_token());
            send(WorkspaceAction::BranchOperationDone{core::Text::toastTagCreated(name)});
        } catch (...) {
            send(WorkspaceAction::BranchOperationFailed{ErrorText::describe(std::current_exception())});
        }
    });
}

AppEffect AppReducer::deleteSelectedTag(AppState& state, const TagPickerState& picker) const {
    const core::Tag* tag = selectedTag(picker);
    if (!state.workspace || !tag) return AppEffect::none();
    std::string name = tag->name;
    // The row leaves the open picker at once: the selection stays on its
    // row, or moves to the new last one.
    const auto row = static_cast<std::size_t>(*picker.list.selected);
    std::vector<core::Tag> remaining = picker.tags;
    remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(row));
    std::optional<std::int64_t> selected;
    if (!remaining.empty()) selected = static_cast<std::int64_t>(std::min(row, remaining.size() - 1));
    state.overlay = TagPickerState(std::move(remaining), core::ListScroll{.offset = 0, .selected = selected});

    return AppEffect::run("branch", [repository = dependencies_.repository, path = state.workspace->path,
                                     name = std::move(name)](AppEffect::Send send, std::stop_token) {
        try {
            repository->deleteTag(path, name, std::stop_token());
            send(WorkspaceAction::BranchOperationDone{core::Text::toastTagDeleted(name)});
        } catch (...) {
            send(WorkspaceAction::BranchOperationFailed{ErrorText::describe(std::current_exception())});
        }
    });
}

AppEffect AppReducer::jumpToTag(AppState& state, const TagPickerState& picker) const {
    const core::Tag* tag = selectedTag(picker);
    if (!state.workspace || !tag) return AppEffect::none();
    const std::string sha = tag->commit;
    state.overlay.reset();
    WorkspaceState& workspace = *state.workspace;
    AppEffect tab = setTab(workspace, WorkspaceTab::history);
    const auto& commits = workspace.history.commits;
    const auto found = std::find_if(commits.begin(), commits.end(), [&](const core::Commit& c) { return c.sha == sha; });
    if (found == commits.end()) {
        return AppEffect::merge(std::move(tab), showToast(state, core::Text::tagCommitNotLoaded(), false));
    }
    return AppEffect::merge(std::move(tab), selectCommit(workspace, found - commits.begin()));
}

}  // namespace tarv::features
