// Stashes: saving the working tree's changes, and restoring or dropping the
// stash chosen in the picker. All three run as the job "stash".
//
// A stash job is never stopped half-way (its port call gets a token nothing
// triggers), and while one runs (`WorkspaceState::isStashing`) the others are
// ignored. The job reads the stash list again right after its write and
// reports it before its outcome (success or failure), so by the time a restore or drop is
// accepted again the picker shows the list git now holds.
//
// A row acts on its stash's commit id, not on its place in the list: a stash
// made meanwhile (in another terminal, say) moves the others down, and the
// write finds the chosen one where it is then, or refuses when it is gone.
#include <algorithm>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features {

namespace {

using Repository = std::shared_ptr<core::GitRepositoryClient>;
// One write of the stash family, given the repository and its path.
using StashWrite = std::function<void(core::GitRepositoryClient&, const std::string&)>;

AppEffect stashJob(Repository repository, std::string path, StashWrite write, core::Text done) {
    std::string lane = AppReducer::writeLane(path);
    return AppEffect::write("stash", std::move(lane),
                            [repository = std::move(repository), path = std::move(path), write = std::move(write),
                             done = std::move(done)](AppEffect::Send send, std::stop_token) {
        std::optional<std::string> failure;
        try {
            write(*repository, path);
        } catch (...) {
            failure = ErrorText::describe(std::current_exception());
        }
        try {
            send(WorkspaceAction::StashesLoaded{repository->stashes(path, std::stop_token())});
        } catch (...) {
            // The outcome reloads the list once more.
        }
        if (failure) {
            send(WorkspaceAction::StashOperationFailed{std::move(*failure)});
        } else {
            send(WorkspaceAction::StashOperationDone{done});
        }
    });
}

// The entry under the picker's selection, when a restore or drop may act on
// it now.
const core::StashEntry* actionableEntry(const AppState& state, const StashPickerState& picker) {
    if (!state.workspace || state.workspace->isStashing || !picker.list.selected) return nullptr;
    const std::int64_t selected = *picker.list.selected;
    if (selected < 0 || selected >= static_cast<std::int64_t>(picker.entries.size())) return nullptr;
    return &picker.entries[static_cast<std::size_t>(selected)];
}

}  // namespace

AppEffect AppReducer::stashChanges(AppState& state) const {
    if (!state.workspace || state.workspace->isStashing) return AppEffect::none();
    WorkspaceState& workspace = *state.workspace;
    if (workspace.status.files.empty()) return showToast(state, core::Text::nothingToStash(), false);
    std::string message = workspace.currentBranch() + " \u00B7 " + std::to_string(state.now);
    workspace.isStashing = true;
    return stashJob(
        dependencies_.repository, workspace.path,
        [message = std::move(message)](core::GitRepositoryClient& repository, const std::string& path) {
            repository.stash(path, message, std::stop_token());
        },
        core::Text::toastStashed());
}

AppEffect AppReducer::restoreSelectedStash(AppState& state, const StashPickerState& picker) const {
    const core::StashEntry* entry = actionableEntry(state, picker);
    if (!entry) return AppEffect::none();
    std::string commit = entry->commit;
    state.overlay.reset();
    state.workspace->isStashing = true;
    return stashJob(
        dependencies_.repository, state.workspace->path,
        [commit = std::move(commit)](core::GitRepositoryClient& repository, const std::string& path) {
            repository.restoreStash(path, commit, std::stop_token());
        },
        core::Text::toastStashRestored());
}

AppEffect AppReducer::dropSelectedStash(AppState& state, const StashPickerState& picker) const {
    const core::StashEntry* entry = actionableEntry(state, picker);
    if (!entry) return AppEffect::none();
    std::string commit = entry->commit;
    // The row leaves the open picker at once; the selection stays on its
    // row, or the new last one.
    const auto row = static_cast<std::size_t>(*picker.list.selected);
    std::vector<core::StashEntry> remaining = picker.entries;
    remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(row));
    StashPickerState shown(std::move(remaining));
    if (!shown.entries.empty()) shown.list.selected = static_cast<std::int64_t>(std::min(row, shown.entries.size() - 1));
    if (state.overlay && state.overlay->kind() == Overlay::Kind::stashes) state.overlay = std::move(shown);
    state.workspace->isStashing = true;
    return stashJob(
        dependencies_.repository, state.workspace->path,
        [commit = std::move(commit)](core::GitRepositoryClient& repository, const std::string& path) {
            repository.dropStash(path, commit, std::stop_token());
        },
        core::Text::toastStashDropped());
}

AppEffect AppReducer::stashOperationDone(AppState& state, core::Text text) const {
    WorkspaceState& workspace = *state.workspace;
    workspace.isStashing = false;
    AppEffect toast = showToast(state, std::move(text), false);
    return AppEffect::merge(std::move(toast), reloadStatus(workspace), loadStashes(workspace.path));
}

AppEffect AppReducer::stashOperationFailed(AppState& state, const std::string& message) const {
    state.workspace->isStashing = false;
    state.overlay = Overlay::message(core::Text::errorTitle(), core::Text::raw(message));
    return loadStashes(state.workspace->path);
}

}  // namespace tarv::features
