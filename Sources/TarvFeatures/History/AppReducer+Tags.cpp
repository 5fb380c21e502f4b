// Tags: creating one on the selected commit, listing them for the picker,
// jumping from a tag to its commit in the History tab, and deleting one from
// the picker.
//
// Creating and deleting are branch writes (`branchJob`, job "branch"): they
// report through the branch outcomes, keep their place in the order of the
// branch writes, and are never stopped half-way by a later job of that id.
#include <algorithm>
#include <utility>

#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/History/TagsRead.hpp"

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
        readTags(*repository, path, send, stop);
    });
}

AppEffect AppReducer::createTag(AppState& state, const std::string& name, const std::string& at) const {
    return branchJob(*state.workspace, core::Text::toastTagCreated(name),
                     [name, at](core::GitRepositoryClient& repository, const std::string& path, std::stop_token stop) {
                         repository.createTag(path, name, at, stop);
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

    core::Text done = core::Text::toastTagDeleted(name);
    return branchJob(*state.workspace, std::move(done),
                     [name = std::move(name)](core::GitRepositoryClient& repository, const std::string& path,
                                              std::stop_token stop) { repository.deleteTag(path, name, stop); });
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
