// The clone prompt: opened with the parent folder of the open repository as
// its destination and, with a session, the user's hosted repositories to
// pick from; the clone itself.
#include <string>
#include <utility>

#include "TarvCore/Errors/RemoteFailure.hpp"
#include "TarvCore/Ports/FileStore.hpp"
#include "TarvCore/Ports/GitHubClient.hpp"
#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvCore/Text/Trim.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"
#include "TarvFeatures/Auth/HostingFailure.hpp"

namespace tarv::features {

namespace {

// The folder that holds the open repository; the home folder's "Developer"
// without a repository or for one directly under the root.
std::string defaultDestination(const AppState& state, const std::string& home) {
    if (state.workspace) {
        const std::string& path = state.workspace->path;
        const auto slash = path.rfind('/');
        if (slash != std::string::npos && slash != 0) return path.substr(0, slash);
    }
    return home + "/Developer";
}

// `path` trimmed, with a leading "~" (alone or before "/") as the home folder.
std::string expandedPath(std::string_view path, const std::string& home) {
    std::string trimmed = core::text::trimmed(path);
    if (trimmed == "~") return home;
    if (trimmed.starts_with("~/")) return home + trimmed.substr(1);
    return trimmed;
}

}  // namespace

AppEffect AppReducer::openClone(AppState& state) const {
    ClonePromptState prompt(defaultDestination(state, dependencies_.files->homeDirectory()));
    AppEffect effect = AppEffect::none();
    if (state.session) {
        prompt.remote = GitHubRepositoryList::loading();
        auto job = [github = dependencies_.github, token = state.session->token](AppEffect::Send send,
                                                                                std::stop_token stop) {
            try {
                send(AuthAction::RepositoriesLoaded{github->repositories(token, stop)});
            } catch (...) {
                sendHostingFailure(send, std::current_exception(), stop.stop_requested(),
                                   [](core::Text text) { return AuthAction::RepositoriesFailed{std::move(text)}; });
            }
        };
        effect = AppEffect::run("cloneRepositories", std::move(job));
    }
    state.overlay = std::move(prompt);
    return effect;
}

AppEffect AppReducer::startClone(AppState&, const std::string& url, const std::string& destination) const {
    const std::string target = expandedPath(destination, dependencies_.files->homeDirectory());
    auto job = [repository = dependencies_.repository, url, target](AppEffect::Send send, std::stop_token stop) {
        try {
            repository->clone(url, target, stop);
            send(OverlayAction::CloneFinished{target});
        } catch (const core::RemoteFailure& failure) {
            send(OverlayAction::CloneFailed{core::Text::remoteFailure(failure)});
        } catch (...) {
            if (!stop.stop_requested()) {
                send(OverlayAction::CloneFailed{core::Text::raw(ErrorText::describe(std::current_exception()))});
            }
        }
    };
    return AppEffect::run("clone", std::move(job));
}

}  // namespace tarv::features
