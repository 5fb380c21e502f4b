// Fetch, pull and push of the open workspace: starting one (a single job
// "sync"), the silent background fetch, and what a finished or failed sync
// leaves behind (reloads and a toast, or a message with fixes).
//
// `activity` is what keeps a second visible sync from starting while one
// runs. The background fetch never sets it, so its outcome must never clear
// it either: when the user starts a sync, the background fetch is replaced
// under the same id, and an outcome of that fetch arriving afterwards would
// otherwise end the user's sync on screen and let another one replace (and
// stop) it half-way.
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "TarvCore/Errors/RemoteFailure.hpp"
#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvCore/Rules/FailureRemedies.hpp"
#include "TarvCore/Rules/RemoteURLParser.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features {

namespace {

using Work = std::function<void(std::stop_token)>;

// The branch that push and publish act on: the current one, or "HEAD" on a
// detached head.
std::string pushedBranch(const WorkspaceState& workspace) { return workspace.status.branch.head.value_or("HEAD"); }

// One remote operation as the job "sync", reporting exactly one outcome. A
// stopped job reports nothing (the store drops what it sends): a stopped
// background fetch was replaced by a sync that reports for itself.
AppEffect remote(core::SyncAction action, bool silent, Work work) {
    return AppEffect::run("sync", [action, silent, work = std::move(work)](AppEffect::Send send, std::stop_token stop) {
        try {
            work(stop);
            if (silent && stop.stop_requested()) return;
            send(WorkspaceAction::SyncFinished{action, silent});
        } catch (const core::RemoteFailure& failure) {
            if (silent && stop.stop_requested()) return;
            send(WorkspaceAction::SyncFailed{action, failure, "", silent});
        } catch (...) {
            if (stop.stop_requested()) return;
            send(WorkspaceAction::SyncFailed{action, std::nullopt, ErrorText::describe(std::current_exception()),
                                             silent});
        }
    });
}

// A silent outcome that arrives while a visible sync runs belongs to a
// background fetch that sync replaced; it must not end the visible one.
bool isStaleBackgroundOutcome(const WorkspaceState& workspace, bool silent) {
    return silent && workspace.sync.activity.has_value();
}

core::Text finishedToast(core::SyncAction action, const WorkspaceState& workspace) {
    switch (action) {
        case core::SyncAction::fetch:
            return core::Text::toastFetched();
        case core::SyncAction::pull:
            return core::Text::toastPulled();
        case core::SyncAction::push:
            return core::Text::toastPushed();
        case core::SyncAction::publishBranch:
        case core::SyncAction::publishRepository:
            break;
    }
    return core::Text::toastPublished(pushedBranch(workspace));
}

}  // namespace

AppEffect AppReducer::sync(AppState& state, core::SyncAction action) const {
    if (!state.workspace) return AppEffect::none();
    WorkspaceState& workspace = *state.workspace;
    if (workspace.sync.activity) return AppEffect::none();
    if (action == core::SyncAction::publishRepository) return openPublish(state, workspace.name);

    auto repository = dependencies_.repository;
    const std::string path = workspace.path;
    const std::string branch = pushedBranch(workspace);
    // Pull and push change the repository: once git runs they are not
    // stopped half-way (the stop token is not handed on); fetch is.
    switch (action) {
        case core::SyncAction::fetch:
            workspace.sync.activity = SyncState::Activity::fetching;
            return remote(action, false, [repository, path](std::stop_token stop) { repository->fetch(path, stop); });
        case core::SyncAction::pull:
            workspace.sync.activity = SyncState::Activity::pulling;
            return remote(action, false, [repository, path](std::stop_token) { repository->pull(path, {}); });
        case core::SyncAction::push:
        case core::SyncAction::publishBranch:
            workspace.sync.activity = SyncState::Activity::pushing;
            return remote(action, false,
                          [repository, path, branch, upstream = action == core::SyncAction::publishBranch](
                              std::stop_token) { repository->push(path, branch, upstream, {}); });
        case core::SyncAction::publishRepository:
            break;
    }
    return AppEffect::none();
}

AppEffect AppReducer::autoFetchTick(AppState& state) const {
    if (!state.workspace) return AppEffect::none();
    const WorkspaceState& workspace = *state.workspace;
    AppEffect next = autoFetch(fetchInterval);
    if (!workspace.remoteURL || workspace.sync.activity) return next;
    return AppEffect::merge(remote(core::SyncAction::fetch, true,
                                   [repository = dependencies_.repository, path = workspace.path](
                                       std::stop_token stop) { repository->fetch(path, stop); }),
                            std::move(next));
}

AppEffect AppReducer::syncFinished(AppState& state, core::SyncAction action, bool silent) const {
    if (!state.workspace) return AppEffect::none();
    WorkspaceState& workspace = *state.workspace;
    if (isStaleBackgroundOutcome(workspace, silent)) return AppEffect::none();
    state.answeredGitWithSession = false;
    workspace.sync.activity.reset();
    workspace.sync.lastFetched = state.now;

    AppEffect effect = loadBranches(workspace.path);
    if (!workspace.isRefreshing) effect = AppEffect::merge(std::move(effect), reloadStatus(workspace));
    if (action == core::SyncAction::pull) effect = AppEffect::merge(std::move(effect), loadHistory(workspace.path, 0));
    if (!silent && action != core::SyncAction::publishRepository) {
        effect = AppEffect::merge(std::move(effect), showToast(state, finishedToast(action, workspace), false));
    }
    return AppEffect::merge(std::move(effect), refreshChecks(state, true));
}

AppEffect AppReducer::syncFailed(AppState& state, core::SyncAction action,
                                 const std::optional<core::RemoteFailure>& failure, const std::string& message,
                                 bool silent) const {
    if (!state.workspace) return AppEffect::none();
    WorkspaceState& workspace = *state.workspace;
    if (isStaleBackgroundOutcome(workspace, silent)) return AppEffect::none();
    workspace.sync.activity.reset();
    const bool tokenRejected = failure && std::holds_alternative<core::RemoteFailure::AuthenticationFailed>(failure->value) &&
                               state.answeredGitWithSession;
    if (tokenRejected) state.gitTokenRejected = true;
    state.answeredGitWithSession = false;
    if (silent) return AppEffect::none();

    workspace.sync.lastFailed = action;
    if (!failure) {
        state.overlay = Overlay::message(core::Text::syncFailedTitle(), core::Text::raw(message));
    } else if (tokenRejected) {
        state.overlay = Overlay::message(core::Text::syncFailedTitle(), core::Text::gitTokenRejected());
    } else {
        std::optional<core::RemoteURL> parsed;
        if (workspace.remoteURL) parsed = core::RemoteURLParser::parse(*workspace.remoteURL);
        state.overlay = Overlay::message(core::Text::syncFailedTitle(), core::Text::remoteFailure(*failure),
                                         core::FailureRemedies::fixes(*failure, parsed, state.session.has_value()));
    }
    return AppEffect::none();
}

}  // namespace tarv::features
