// History operations: revert, cherry-pick, history edits and rebase (each a
// replay of commits that git may stop with conflicts), continuing or
// aborting what stopped, resetting the branch to a commit, and `finish`,
// which turns a replay's outcome into a refresh with a toast, or into the
// conflicts message and the Changes tab.
//
// Like the branch writes, none of these stops git half-way: a later job of
// the same id replaces the running one in the store, which forgets it
// without stopping it, so git runs to its end and its outcome is reported;
// the later write waits in the repository's write lane and runs after it.
#include <exception>
#include <functional>
#include <optional>
#include <utility>

#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features {

namespace {

using Replay = std::function<core::OperationResult(core::GitRepositoryClient&, const std::string&, std::stop_token)>;

// Job "operation": runs one replay and reports its kind with the result.
AppEffect replay(std::shared_ptr<core::GitRepositoryClient> repository, std::string path, ReplayKind kind,
                 Replay operation) {
    std::string lane = AppReducer::writeLane(path);
    return AppEffect::write("operation", std::move(lane),
                            [repository = std::move(repository), path = std::move(path), kind = std::move(kind),
                             operation = std::move(operation)](AppEffect::Send send, std::stop_token) {
        try {
            core::OperationResult result = operation(*repository, path, std::stop_token());
            send(WorkspaceAction::OperationFinished{kind, std::move(result)});
        } catch (...) {
            send(WorkspaceAction::OperationFailed{ErrorText::describe(std::current_exception())});
        }
    });
}

// What git has in progress once a replay of this kind stops: history edits
// are carried out as a rebase.
core::RepositoryOperation stoppedOperation(const ReplayKind& kind) {
    struct Visitor {
        core::RepositoryOperation operator()(const ReplayKind::Rebase&) const {
            return core::RepositoryOperation::rebase;
        }
        core::RepositoryOperation operator()(const ReplayKind::Edit&) const {
            return core::RepositoryOperation::rebase;
        }
        core::RepositoryOperation operator()(const ReplayKind::Continued& continued) const {
            return continued.operation;
        }
        core::RepositoryOperation operator()(const ReplayKind::Revert&) const {
            return core::RepositoryOperation::revert;
        }
        core::RepositoryOperation operator()(const ReplayKind::CherryPick&) const {
            return core::RepositoryOperation::cherryPick;
        }
    };
    return std::visit(Visitor{}, kind.value);
}

core::Text completedToast(const ReplayKind& kind) {
    struct Visitor {
        core::Text operator()(const ReplayKind::Rebase& rebase) const { return core::Text::toastRebased(rebase.onto); }
        core::Text operator()(const ReplayKind::Edit& edit) const {
            return std::holds_alternative<core::HistoryEdit::SquashIntoParent>(edit.edit.value)
                       ? core::Text::toastSquashed()
                       : core::Text::toastReordered();
        }
        core::Text operator()(const ReplayKind::Continued&) const { return core::Text::toastOperationCompleted(); }
        core::Text operator()(const ReplayKind::Revert&) const { return core::Text::toastReverted(); }
        core::Text operator()(const ReplayKind::CherryPick&) const { return core::Text::toastCherryPicked(); }
    };
    return std::visit(Visitor{}, kind.value);
}

void clearMessage(WorkspaceState& workspace) {
    workspace.summary = core::EditableText("", false);
    workspace.description = core::EditableText("", true);
}

}  // namespace

AppEffect AppReducer::revert(AppState& state, const std::string& commit) const {
    return replay(dependencies_.repository, state.workspace->path, ReplayKind::Revert{},
                  [commit](core::GitRepositoryClient& repository, const std::string& path, std::stop_token stop) {
                      return repository.revert(path, commit, stop);
                  });
}

AppEffect AppReducer::cherryPick(AppState& state, const std::string& commit) const {
    return replay(dependencies_.repository, state.workspace->path, ReplayKind::CherryPick{},
                  [commit](core::GitRepositoryClient& repository, const std::string& path, std::stop_token stop) {
                      return repository.cherryPick(path, commit, stop);
                  });
}

AppEffect AppReducer::editHistory(AppState& state, const core::HistoryEdit& edit) const {
    return replay(dependencies_.repository, state.workspace->path, ReplayKind::Edit{edit},
                  [edit](core::GitRepositoryClient& repository, const std::string& path, std::stop_token stop) {
                      return repository.editHistory(path, edit, stop);
                  });
}

AppEffect AppReducer::rebase(AppState& state, const std::string& onto) const {
    return replay(dependencies_.repository, state.workspace->path, ReplayKind::Rebase{onto},
                  [onto](core::GitRepositoryClient& repository, const std::string& path, std::stop_token stop) {
                      return repository.rebase(path, onto, stop);
                  });
}

AppEffect AppReducer::continueOperation(AppState& state) const {
    const WorkspaceState& workspace = *state.workspace;
    if (!workspace.status.operation) return AppEffect::none();
    return replay(dependencies_.repository, workspace.path, ReplayKind::Continued{*workspace.status.operation},
                  [](core::GitRepositoryClient& repository, const std::string& path, std::stop_token stop) {
                      return repository.continueOperation(path, stop);
                  });
}

AppEffect AppReducer::reset(AppState& state, const std::string& commit, core::ResetMode mode) const {
    return branchJob(*state.workspace, core::Text::toastReset(mode, commit.substr(0, 7)),
                     [commit, mode](core::GitRepositoryClient& repository, const std::string& path,
                                    std::stop_token stop) { repository.reset(path, commit, mode, stop); });
}

AppEffect AppReducer::abortOperation(AppState& state) const {
    const std::string& path = state.workspace->path;
    return AppEffect::write("merge", writeLane(path), [repository = dependencies_.repository, path](
                                                          AppEffect::Send send, std::stop_token) {
        try {
            repository->abortOperation(path, std::stop_token());
            send(WorkspaceAction::OperationAborted{});
        } catch (...) {
            send(WorkspaceAction::MergeFailed{ErrorText::describe(std::current_exception())});
        }
    });
}

AppEffect AppReducer::operationAborted(AppState& state) const {
    WorkspaceState& workspace = *state.workspace;
    clearMessage(workspace);
    workspace.autoSummary.reset();
    // The abort keeps what was not committed in a snapshot first; the toast
    // says where, since git's abort may not bring all of it back.
    AppEffect toast = showToast(state, core::Text::toastOperationAbortedKept(), false);
    return AppEffect::merge(std::move(toast), reloadStatus(workspace), loadBranches(workspace.path));
}

AppEffect AppReducer::finish(AppState& state, const ReplayKind& kind, const core::OperationResult& result) const {
    WorkspaceState& workspace = *state.workspace;
    AppEffect reloads = reloadAfterHeadChange(workspace);
    if (const auto* conflicts = std::get_if<core::OperationResult::Conflicts>(&result.value)) {
        const core::RepositoryOperation operation = stoppedOperation(kind);
        state.overlay = Overlay::message(
            core::Text::operationConflictsTitle(operation),
            core::Text::operationConflictsBody(operation, static_cast<std::int64_t>(conflicts->paths.size())));
        return AppEffect::merge(std::move(reloads), setTab(workspace, WorkspaceTab::changes));
    }
    clearMessage(workspace);
    const auto& completed = std::get<core::OperationResult::Completed>(result.value);
    const core::Text toast = completed.skippedEmpty ? core::Text::toastEmptyCommitSkipped() : completedToast(kind);
    return AppEffect::merge(std::move(reloads), showToast(state, toast, false));
}

}  // namespace tarv::features
