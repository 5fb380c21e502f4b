// Committing and amending: the commit job, its outcomes, and entering and
// leaving amend mode. `isCommitting` refuses a second commit while one
// runs, and the job never stops half-way: it always reports.
#include <exception>
#include <utility>

#include "TarvCore/Errors/RemoteFailure.hpp"
#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvCore/Rules/Trimmed.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features {

namespace {

void clearMessage(WorkspaceState& workspace) {
    workspace.summary = core::EditableText("", false);
    workspace.description = core::EditableText("", true);
}

// A failure the engine classified (a rejected hook, a failed signature)
// keeps its classification.
core::Text commitFailureText(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const core::RemoteFailure& failure) {
        return core::Text::remoteFailure(failure);
    } catch (...) {
        return core::Text::raw(ErrorText::describe(error));
    }
}

}  // namespace

AppEffect AppReducer::commit(WorkspaceState& workspace) const {
    if (!workspace.canCommit()) return AppEffect::none();
    workspace.isCommitting = true;
    core::CommitMessage message{workspace.summary.text(), workspace.description.text(), workspace.coAuthors};
    core::CommitSelection selection = workspace.changes.commitSelection(workspace.status);
    std::string summary = core::trimmed(message.summary);
    return AppEffect::write("commit", writeLane(workspace.path),
                            [repository = dependencies_.repository, path = workspace.path,
                             amending = workspace.isAmending, message = std::move(message),
                             selection = std::move(selection),
                             summary = std::move(summary)](AppEffect::Send send, std::stop_token) {
        try {
            if (amending) {
                repository->amend(path, message, selection, std::stop_token());
                send(WorkspaceAction::Amended{summary});
            } else {
                repository->commit(path, message, selection, std::stop_token());
                send(WorkspaceAction::Committed{summary});
            }
        } catch (...) {
            send(WorkspaceAction::CommitFailed{commitFailureText(std::current_exception())});
        }
    });
}

AppEffect AppReducer::committed(AppState& state, const std::string& summary, bool amended) const {
    WorkspaceState& workspace = *state.workspace;
    workspace.autoSummary.reset();
    workspace.isCommitting = false;
    workspace.isAmending = false;
    clearMessage(workspace);
    workspace.coAuthors.clear();
    workspace.focus = WorkspaceFocus::files;
    // The chosen lines are in the commit now; what is left of those files
    // was left out by choice and stays out.
    for (const auto& [path, lines] : workspace.changes.partial) workspace.changes.included.erase(path);
    workspace.changes.partial.clear();
    AppEffect toast = showToast(state, amended ? core::Text::toastAmended(summary) : core::Text::toastCommitted(summary),
                                false);
    return AppEffect::merge(std::move(toast), reloadStatus(workspace), loadHistory(workspace.path, 0),
                            loadBranches(workspace.path));
}

AppEffect AppReducer::commitFailed(AppState& state, core::Text text) const {
    state.workspace->isCommitting = false;
    state.overlay = Overlay::message(core::Text::commitFailedTitle(), std::move(text));
    return AppEffect::none();
}

void AppReducer::cancelAmend(WorkspaceState& workspace) const {
    workspace.isAmending = false;
    clearMessage(workspace);
    workspace.focus = WorkspaceFocus::files;
}

AppEffect AppReducer::beginAmend(AppState& state) const {
    const WorkspaceState& workspace = *state.workspace;
    const core::BranchStatus& branch = workspace.status.branch;
    if (workspace.status.operation || !branch.objectID) {
        return showToast(state, core::Text::toastNothingToUndo(), false);
    }
    if (branch.upstream && branch.ahead < 1) return showToast(state, core::Text::toastAmendNotAllowed(), false);
    return AppEffect::run("amend", [repository = dependencies_.repository, path = workspace.path](
                                       AppEffect::Send send, std::stop_token stop) {
        try {
            if (auto message = repository->headMessage(path, stop)) {
                send(WorkspaceAction::AmendMessageLoaded{std::move(*message)});
            }
        } catch (...) {
            // Without the head message there is nothing to amend from.
        }
    });
}

}  // namespace tarv::features
