// Publishing the open repository as a new hosted repository: the form, its
// validation, the job "publish" (create, add "origin", push the branch) and
// what follows a success.
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "TarvCore/Errors/HostingError.hpp"
#include "TarvCore/Errors/RemoteFailure.hpp"
#include "TarvCore/Ports/GitHubClient.hpp"
#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvCore/Rules/RepositoryNameRules.hpp"
#include "TarvCore/Text/Trim.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/Auth/HostingFailure.hpp"

namespace tarv::features {

namespace {

// What the job "publish" needs, taken from the form and the workspace.
struct PublishRequest {
    std::string name;
    std::string description;
    bool isPrivate = true;
    std::string token;
    std::string path;
    // The branch to push: none without a commit or on a detached head.
    std::optional<std::string> branch;
};

// The one failure action of a publish that stopped (none: a cancelled
// publish reports nothing).
void sendFailure(const AppEffect::Send& send, const std::exception_ptr& error, bool cancelled) {
    const auto failed = [](core::Text text) { return OverlayAction::PublishFailed{std::move(text)}; };
    try {
        std::rethrow_exception(error);
    } catch (const core::HostingError& hosting) {
        // The service answered, so its answer is shown even when stopped.
        const auto* forbidden = std::get_if<core::HostingError::Forbidden>(&hosting.value);
        if (forbidden) {
            send(failed(core::Text::publishForbidden(forbidden->message)));
        } else {
            sendHostingFailure(send, error, false, failed);
        }
    } catch (const core::RemoteFailure& failure) {
        send(failed(core::Text::remoteFailure(failure)));
    } catch (...) {
        sendHostingFailure(send, error, cancelled, failed);
    }
}

}  // namespace

AppEffect AppReducer::openPublish(AppState& state, const std::string& name) const {
    if (!state.session) return beginSignIn(state);
    state.overlay = PublishRepositoryState(name);
    return AppEffect::none();
}

AppEffect AppReducer::submitPublish(AppState& state, const PublishRepositoryState& form) const {
    if (form.isPublishing || !state.workspace) return AppEffect::none();
    if (!state.session) return beginSignIn(state);
    PublishRepositoryState next = form;
    const std::string name = core::RepositoryNameRules::sanitize(form.name.text());
    if (!core::RepositoryNameRules::isValid(name)) {
        next.error = core::Text::publishInvalidName();
        state.overlay = std::move(next);
        return AppEffect::none();
    }
    next.isPublishing = true;
    next.error.reset();
    state.overlay = std::move(next);
    const core::BranchStatus& branch = state.workspace->status.branch;
    PublishRequest request{name,
                           core::text::trimmed(form.description.text()),
                           form.isPrivate,
                           state.session->token,
                           state.workspace->path,
                           branch.objectID ? branch.head : std::nullopt};
    auto job = [github = dependencies_.github, repository = dependencies_.repository, request](AppEffect::Send send,
                                                                                               std::stop_token stop) {
        try {
            const core::GitHubRepository created =
                github->createRepository(request.name, request.description, request.isPrivate, request.token, stop);
            repository->addRemote(request.path, "origin", created.cloneURL, stop);
            send(WorkspaceAction::RemoteLoaded{created.cloneURL});
            if (request.branch) repository->push(request.path, *request.branch, true, stop);
            send(OverlayAction::PublishFinished{created.fullName});
        } catch (...) {
            sendFailure(send, std::current_exception(), stop.stop_requested());
        }
    };
    return AppEffect::run("publish", std::move(job));
}

AppEffect AppReducer::publishFinished(AppState& state, const std::string& fullName) const {
    if (state.overlay && std::holds_alternative<PublishRepositoryState>(state.overlay->value)) state.overlay.reset();
    if (!state.workspace) return AppEffect::none();
    state.workspace->isRefreshing = true;
    const std::string path = state.workspace->path;
    AppEffect toast = showToast(state, core::Text::toastPublishedRepository(fullName), false);
    return AppEffect::merge(std::move(toast), loadBranches(path), refreshStatus(path));
}

}  // namespace tarv::features
