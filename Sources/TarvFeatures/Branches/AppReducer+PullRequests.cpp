// The branch picker's pull-request tab: whether the repository's pull
// requests can be listed (a remote on the hosting service and a session),
// loading them, and checking one out into a local branch (a branch write
// like any other: in the repository's write lane, never stopped half-way).
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "TarvCore/Models/HostingDefaults.hpp"
#include "TarvCore/Ports/GitHubClient.hpp"
#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvCore/Rules/RemoteURLParser.hpp"
#include "TarvCore/Text/Unicode.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"
#include "TarvFeatures/Auth/HostingFailure.hpp"

namespace tarv::features {

namespace {

struct HostedRepository {
    std::string owner;
    std::string name;
};

// The open repository's owner and name on the hosting service's web host;
// none without a workspace, a remote that parses, that host or an owner.
std::optional<HostedRepository> hostedRepository(const AppState& state) {
    if (!state.workspace || !state.workspace->remoteURL) return std::nullopt;
    const auto parsed = core::RemoteURLParser::parse(*state.workspace->remoteURL);
    if (!parsed || core::text::lowercased(parsed->host) != core::HostingDefaults::webHost) return std::nullopt;
    if (!parsed->owner) return std::nullopt;
    return HostedRepository{*parsed->owner, parsed->name};
}

BranchPickerState* openPicker(AppState& state) {
    return state.overlay ? std::get_if<BranchPickerState>(&state.overlay->value) : nullptr;
}

}  // namespace

AppEffect AppReducer::loadPullRequests(AppState& state) const {
    BranchPickerState* picker = openPicker(state);
    const auto hosted = hostedRepository(state);
    if (!hosted || !state.session) {
        if (picker) picker->pullRequests = hosted ? PullRequestList::signedOut() : PullRequestList::notGitHub();
        return AppEffect::none();
    }
    if (picker) picker->pullRequests = PullRequestList::loading();
    auto job = [github = dependencies_.github, hosted = *hosted, token = state.session->token](AppEffect::Send send,
                                                                                              std::stop_token stop) {
        try {
            send(AuthAction::PullRequestsLoaded{github->pullRequests(hosted.owner, hosted.name, token, stop)});
        } catch (...) {
            sendHostingFailure(send, std::current_exception(), stop.stop_requested(),
                               [](core::Text text) { return AuthAction::PullRequestsFailed{std::move(text)}; });
        }
    };
    return AppEffect::run("pullRequests", std::move(job));
}

AppEffect AppReducer::checkoutPullRequest(AppState& state, const core::PullRequest& pullRequest) const {
    if (!state.workspace) return AppEffect::none();
    state.overlay.reset();
    const std::string& path = state.workspace->path;
    auto job = [repository = dependencies_.repository, path, pullRequest](AppEffect::Send send, std::stop_token) {
        try {
            const std::string branch = repository->checkoutPullRequest(path, pullRequest.number, pullRequest.headBranch,
                                                                       pullRequest.isFromFork, std::stop_token());
            send(WorkspaceAction::BranchOperationDone{core::Text::toastPullRequestCheckedOut(branch)});
        } catch (...) {
            send(WorkspaceAction::BranchOperationFailed{ErrorText::describe(std::current_exception())});
        }
    };
    return AppEffect::write("branch", writeLane(path), std::move(job));
}

}  // namespace tarv::features
