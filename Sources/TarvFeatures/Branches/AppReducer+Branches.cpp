// Branches: switching, creating, renaming and deleting (with the forced
// confirmation for a branch git calls not fully merged), merging another
// branch into the current one, and what their outcomes do to the workspace.
//
// A running write is never stopped: a later request with the same job id
// replaces the job in the store, which forgets it without stopping it, so
// no checkout or merge dies half-way, and both outcomes are reported. The
// later request runs after it: the writes of a repository share one lane.
#include <algorithm>
#include <cctype>
#include <exception>
#include <utility>

#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features {

namespace {

std::string lowerCased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Whether git refused because changes in the working tree are in the way,
// the case a stash would get out of the way.
bool blockedByLocalChanges(const std::string& message) {
    const std::string lower = lowerCased(message);
    for (const char* phrase : {"overwritten", "local changes", "untracked working tree"}) {
        if (lower.find(phrase) != std::string::npos) return true;
    }
    return false;
}

// git's own words when a branch holds commits that no other branch has.
constexpr const char* notFullyMerged = "not fully merged";

}  // namespace

AppEffect AppReducer::branchJob(const WorkspaceState& workspace, core::Text done, BranchWrite write,
                                std::optional<std::string> unforcedDelete) const {
    return AppEffect::write("branch", writeLane(workspace.path),
                            [repository = dependencies_.repository, path = workspace.path, done = std::move(done),
                             write = std::move(write),
                             unforcedDelete = std::move(unforcedDelete)](AppEffect::Send send, std::stop_token) {
        try {
            write(*repository, path, std::stop_token());
            send(WorkspaceAction::BranchOperationDone{done});
        } catch (...) {
            std::string message = ErrorText::describe(std::current_exception());
            if (unforcedDelete && message.find(notFullyMerged) != std::string::npos) {
                send(WorkspaceAction::DeleteNeedsForce{*unforcedDelete});
            } else {
                send(WorkspaceAction::BranchOperationFailed{std::move(message)});
            }
        }
    });
}

AppEffect AppReducer::reloadAfterHeadChange(WorkspaceState& workspace) const {
    return AppEffect::merge(reloadStatus(workspace), loadBranches(workspace.path), loadHistory(workspace.path, 0));
}

AppEffect AppReducer::switchBranch(AppState& state, const std::string& branch) const {
    return branchJob(*state.workspace, core::Text::toastBranchSwitched(branch),
                     [branch](core::GitRepositoryClient& repository, const std::string& path, std::stop_token stop) {
                         repository.switchBranch(path, branch, stop);
                     });
}

AppEffect AppReducer::createBranch(AppState& state, const std::string& name,
                                   const std::optional<std::string>& from) const {
    return branchJob(*state.workspace, core::Text::toastBranchCreated(name),
                     [name, from](core::GitRepositoryClient& repository, const std::string& path,
                                  std::stop_token stop) { repository.createBranch(path, name, from, stop); });
}

AppEffect AppReducer::renameBranch(AppState& state, const std::string& from, const std::string& to) const {
    return branchJob(*state.workspace, core::Text::toastBranchRenamed(to),
                     [from, to](core::GitRepositoryClient& repository, const std::string& path,
                                std::stop_token stop) { repository.renameBranch(path, from, to, stop); });
}

AppEffect AppReducer::deleteBranch(AppState& state, const std::string& name, bool force) const {
    return branchJob(
        *state.workspace, core::Text::toastBranchDeleted(name),
        [name, force](core::GitRepositoryClient& repository, const std::string& path, std::stop_token stop) {
            repository.deleteBranch(path, name, force, stop);
        },
        force ? std::nullopt : std::optional<std::string>(name));
}

AppEffect AppReducer::deleteNeedsForce(AppState& state, const std::string& branch) const {
    state.overlay = DeleteBranchState{branch, true};
    return AppEffect::none();
}

AppEffect AppReducer::branchOperationDone(AppState& state, core::Text text) const {
    WorkspaceState& workspace = *state.workspace;
    workspace.changes.selectedPath.reset();
    AppEffect toast = showToast(state, std::move(text), false);
    return AppEffect::merge(std::move(toast), reloadAfterHeadChange(workspace));
}

AppEffect AppReducer::branchOperationFailed(AppState& state, const std::string& message) const {
    std::string body = message;
    if (blockedByLocalChanges(message)) body += "\n\n" + core::Text::stashSuggestion().render(state.language);
    state.overlay = Overlay::message(core::Text::errorTitle(), core::Text::raw(std::move(body)));
    return AppEffect::none();
}

AppEffect AppReducer::merge(AppState& state, const std::string& branch) const {
    const std::string& path = state.workspace->path;
    return AppEffect::write("merge", writeLane(path), [repository = dependencies_.repository, path, branch](
                                                          AppEffect::Send send, std::stop_token) {
        try {
            core::MergeResult result = repository->merge(path, branch, std::stop_token());
            send(WorkspaceAction::MergeFinished{branch, std::move(result)});
        } catch (...) {
            send(WorkspaceAction::MergeFailed{ErrorText::describe(std::current_exception())});
        }
    });
}

AppEffect AppReducer::mergeFinished(AppState& state, const std::string& branch,
                                    const core::MergeResult& result) const {
    WorkspaceState& workspace = *state.workspace;
    AppEffect reloads = reloadAfterHeadChange(workspace);
    if (const auto* conflicts = std::get_if<core::MergeResult::Conflicts>(&result.value)) {
        state.overlay =
            Overlay::message(core::Text::mergeConflictsTitle(),
                             core::Text::mergeConflictsBody(static_cast<std::int64_t>(conflicts->paths.size())));
        return AppEffect::merge(std::move(reloads), loadMergeMessage(workspace.path));
    }
    const bool upToDate = std::holds_alternative<core::MergeResult::UpToDate>(result.value);
    AppEffect toast =
        showToast(state, upToDate ? core::Text::toastMergeUpToDate() : core::Text::toastMerged(branch), false);
    return AppEffect::merge(std::move(reloads), std::move(toast));
}

AppEffect AppReducer::mergeFailed(AppState& state, const std::string& message) const {
    state.overlay = Overlay::message(core::Text::errorTitle(), core::Text::raw(message));
    return AppEffect::none();
}

}  // namespace tarv::features
