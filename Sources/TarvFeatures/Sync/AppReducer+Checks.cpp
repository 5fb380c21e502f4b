// Check runs on the hosting service: the current branch's summary in the
// sync state, keyed to the local commit so that a late answer for an older
// commit is dropped, and the summaries of the listed pull requests.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "TarvCore/Ports/GitHubClient.hpp"
#include "TarvCore/Rules/RemoteURLParser.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/Auth/HostingFailure.hpp"

namespace tarv::features {

namespace {

// How many pull requests of one list have their checks read.
constexpr std::size_t pullRequestChecksLimit = 30;

struct PullRequestHead {
    std::int64_t number = 0;
    std::string sha;
};

}  // namespace

std::optional<ChecksTarget> AppReducer::checksTarget(const WorkspaceState& workspace) {
    return ChecksTarget::of(workspace.remoteURL, workspace.status.branch);
}

AppEffect AppReducer::refreshChecks(AppState& state, bool force) const {
    if (!state.workspace) return AppEffect::none();
    SyncState& sync = state.workspace->sync;
    const auto target = checksTarget(*state.workspace);
    if (!state.session || !target) {
        sync.checks.reset();
        sync.checksKey.reset();
        return AppEffect::none();
    }
    const std::string key = target->key(state.workspace->status.branch);
    if (sync.checksKey == key && !force) return AppEffect::none();
    if (sync.checksKey != key) sync.checks.reset();
    sync.checksKey = key;
    auto job = [github = dependencies_.github, target = *target, key, token = state.session->token](
                   AppEffect::Send send, std::stop_token stop) {
        try {
            core::CheckSummary summary = github->checks(target.owner, target.name, target.ref, token, stop);
            send(WorkspaceAction::ChecksLoaded{key, std::move(summary)});
        } catch (...) {
            // Checks are background information: a failed load shows nothing.
            sendHostingFailure(send, std::current_exception(), true, nullptr);
        }
    };
    return AppEffect::run("checks", std::move(job));
}

AppEffect AppReducer::loadPullRequestChecks(const AppState& state,
                                            const std::vector<core::PullRequest>& pullRequests) const {
    if (!state.session || !state.workspace || !state.workspace->remoteURL) return AppEffect::none();
    const auto parsed = core::RemoteURLParser::parse(*state.workspace->remoteURL);
    if (!parsed || !parsed->owner) return AppEffect::none();
    std::vector<PullRequestHead> heads;
    const std::size_t count = std::min(pullRequests.size(), pullRequestChecksLimit);
    for (std::size_t i = 0; i < count; ++i) {
        if (!pullRequests[i].headSHA.empty()) heads.push_back({pullRequests[i].number, pullRequests[i].headSHA});
    }
    auto job = [github = dependencies_.github, owner = *parsed->owner, name = parsed->name,
                token = state.session->token, heads = std::move(heads)](AppEffect::Send send, std::stop_token stop) {
        for (const PullRequestHead& head : heads) {
            if (stop.stop_requested()) return;
            try {
                core::CheckSummary summary = github->checks(owner, name, head.sha, token, stop);
                send(AuthAction::PullRequestChecksLoaded{head.number, std::move(summary)});
            } catch (...) {
                // This pull request shows no checks; the others still load.
            }
        }
    };
    return AppEffect::run("pullRequestChecks", std::move(job));
}

}  // namespace tarv::features
