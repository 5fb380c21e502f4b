// Worktrees: the picker's list, adding a worktree for a new branch beside
// the repository, and removing the one selected in the picker.
//
// The main worktree and the one open here are never removed. "Open here" is
// decided on the folder, not on its spelling: the reducer refuses a path
// that only differs by "/", "." or ".." at once, and the job compares the
// canonical paths (symbolic links resolved) before git runs. Adding and
// removing run as "worktreeChange" and are never stopped half-way.
#include <exception>
#include <filesystem>
#include <utility>

#include "TarvCore/Ports/FileStore.hpp"
#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvCore/Rules/Trimmed.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features {

namespace {

// The path without ".", "..", repeated or trailing "/"; no disk access.
std::string tidied(const std::string& path) {
    std::string result = std::filesystem::path(path).lexically_normal().string();
    while (result.size() > 1 && result.ends_with('/')) result.pop_back();
    return result;
}

// Both paths name the same folder on disk; when that cannot be told, their
// tidied spellings decide.
bool sameFolder(const core::FileStore& files, const std::string& a, const std::string& b) {
    try {
        return files.canonicalPath(a) == files.canonicalPath(b);
    } catch (...) {
        return tidied(a) == tidied(b);
    }
}

}  // namespace

AppEffect AppReducer::reloadWorktrees(const std::string& path) const {
    return AppEffect::run("worktrees", [repository = dependencies_.repository, path](AppEffect::Send send,
                                                                                    std::stop_token stop) {
        try {
            send(WorkspaceAction::WorktreesLoaded{repository->worktrees(path, stop)});
        } catch (...) {
            if (stop.stop_requested()) return;
            send(WorkspaceAction::BranchOperationFailed{ErrorText::describe(std::current_exception())});
        }
    });
}

void AppReducer::worktreesLoaded(AppState& state, std::vector<core::Worktree> worktrees) const {
    if (!state.overlay) return;
    const auto* picker = std::get_if<WorktreePickerState>(&state.overlay->value);
    if (!picker) return;
    std::optional<std::int64_t> selected;
    if (!worktrees.empty()) {
        const auto last = static_cast<std::int64_t>(worktrees.size()) - 1;
        selected = picker->list.selected ? std::min(*picker->list.selected, last) : 0;
    }
    state.overlay = WorktreePickerState(std::move(worktrees), core::ListScroll{.offset = 0, .selected = selected});
}

AppEffect AppReducer::worktreeChanged(AppState& state, core::Text text) const {
    AppEffect toast = showToast(state, std::move(text), false);
    const std::string& path = state.workspace->path;
    return AppEffect::merge(std::move(toast), reloadWorktrees(path), loadBranches(path));
}

AppEffect AppReducer::removeSelectedWorktree(AppState& state, const WorktreePickerState& picker) const {
    if (!state.workspace || !picker.list.selected) return AppEffect::none();
    const std::int64_t row = *picker.list.selected;
    if (row < 0 || row >= static_cast<std::int64_t>(picker.worktrees.size())) return AppEffect::none();
    const core::Worktree& worktree = picker.worktrees[static_cast<std::size_t>(row)];
    const std::string& open = state.workspace->path;
    if (worktree.isMain || tidied(worktree.path) == tidied(open)) {
        return showToast(state, core::Text::worktreeCannotRemove(), true);
    }
    return AppEffect::write("worktreeChange", writeLane(open),
                            [repository = dependencies_.repository, files = dependencies_.files, open,
                             target = worktree.path](AppEffect::Send send, std::stop_token) {
        try {
            if (sameFolder(*files, target, open)) {
                send(AppAction::Notice{core::Text::worktreeCannotRemove(), true});
                return;
            }
            repository->removeWorktree(open, target, std::stop_token());
            send(WorkspaceAction::WorktreeChanged{core::Text::toastWorktreeRemoved(target)});
        } catch (...) {
            send(WorkspaceAction::BranchOperationFailed{ErrorText::describe(std::current_exception())});
        }
    });
}

AppEffect AppReducer::addWorktree(AppState&, const NewWorktreeState& prompt) const {
    return AppEffect::write("worktreeChange", writeLane(prompt.repositoryPath),
                          [repository = dependencies_.repository, repositoryPath = prompt.repositoryPath,
                           destination = prompt.destination(),
                           branch = core::trimmed(prompt.branch.text())](AppEffect::Send send, std::stop_token) {
                              try {
                                  repository->addWorktree(repositoryPath, destination, branch, std::stop_token());
                                  send(WorkspaceAction::WorktreeChanged{core::Text::toastWorktreeCreated(destination)});
                              } catch (...) {
                                  send(WorkspaceAction::BranchOperationFailed{
                                      ErrorText::describe(std::current_exception())});
                              }
                          });
}

}  // namespace tarv::features
