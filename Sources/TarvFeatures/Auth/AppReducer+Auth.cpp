// The results of the hosting jobs applied to the state: the session, the
// sign-in overlay, the branch picker's pull-request tab with its checks, the
// clone prompt's list of the user's repositories, and an expired session.
// Each overlay is changed only while it is the open one; a result for a
// closed overlay changes nothing in it.
#include <utility>
#include <variant>

#include "TarvCore/Errors/HostingError.hpp"
#include "TarvCore/Ports/AccountStore.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features {

namespace {

template <class State>
State* openOverlay(AppState& state) {
    return state.overlay ? std::get_if<State>(&state.overlay->value) : nullptr;
}

// The list at its top, row 0 selected unless there is no row.
core::ListScroll listFromTop(bool hasRows) {
    return core::ListScroll{.offset = 0, .selected = hasRows ? std::optional<std::int64_t>(0) : std::nullopt};
}

// The clone prompt's list after its repositories changed.
void setRemote(AppState& state, GitHubRepositoryList remote) {
    auto* prompt = openOverlay<ClonePromptState>(state);
    if (!prompt) return;
    prompt->remote = std::move(remote);
    prompt->list = listFromTop(!prompt->matches().empty());
}

// The text of each hosting error.
struct HostingWords {
    using E = core::HostingError;
    using Text = core::Text;
    Text operator()(const E::Network& e) const { return Text::hostingNetwork(e.message); }
    Text operator()(const E::Forbidden& e) const { return Text::hostingForbidden(e.message); }
    Text operator()(const E::Http& e) const { return Text::hostingHTTP(e.status, e.message); }
    Text operator()(const E::Unauthorized&) const { return Text::hostingUnauthorized(); }
    Text operator()(const E::DeviceFlowDisabled&) const { return Text::hostingDeviceFlowDisabled(); }
    Text operator()(const E::NotFound&) const { return Text::hostingNotFound(); }
    Text operator()(const E::RateLimited&) const { return Text::hostingRateLimited(); }
    Text operator()(const E::InvalidResponse&) const { return Text::hostingInvalidResponse(); }
};

struct AuthArms {
    const AppReducer& reducer;
    AppState& state;

    AppEffect operator()(AuthAction::SessionLoaded& a) {
        state.session = std::move(a.session);
        return state.workspace ? reducer.refreshChecks(state, false) : AppEffect::none();
    }
    AppEffect operator()(AuthAction::DeviceCodeReceived& a) {
        if (auto* signIn = openOverlay<SignInState>(state)) {
            signIn->status = SignInState::Status::waiting(std::move(a.code));
        }
        return AppEffect::none();
    }
    AppEffect operator()(AuthAction::SignedIn& a) {
        const std::string login = a.session.login;
        state.session = std::move(a.session);
        state.gitTokenRejected = false;
        if (openOverlay<SignInState>(state)) state.overlay.reset();
        AppEffect toast = reducer.showToast(state, core::Text::toastSignedIn(login), false);
        AppEffect resumed = reducer.resumePendingCredentials(state);
        AppEffect checks = state.workspace ? reducer.refreshChecks(state, false) : AppEffect::none();
        return AppEffect::merge(std::move(toast), std::move(resumed), std::move(checks));
    }
    AppEffect operator()(AuthAction::SignInFailed& a) {
        if (auto* signIn = openOverlay<SignInState>(state)) {
            signIn->status = SignInState::Status::failed(std::move(a.message));
        }
        return AppEffect::none();
    }
    AppEffect operator()(AuthAction::PullRequestsLoaded& a) {
        if (auto* picker = openOverlay<BranchPickerState>(state)) {
            picker->pullRequests = PullRequestList::loaded(a.pullRequests);
            picker->list = listFromTop(!a.pullRequests.empty());
        }
        return reducer.loadPullRequestChecks(state, a.pullRequests);
    }
    AppEffect operator()(AuthAction::PullRequestsFailed& a) {
        if (auto* picker = openOverlay<BranchPickerState>(state)) {
            picker->pullRequests = PullRequestList::failed(std::move(a.message));
        }
        return AppEffect::none();
    }
    AppEffect operator()(AuthAction::PullRequestChecksLoaded& a) {
        if (auto* picker = openOverlay<BranchPickerState>(state)) picker->pullRequestChecks[a.number] = a.summary;
        return AppEffect::none();
    }
    AppEffect operator()(AuthAction::RepositoriesLoaded& a) {
        setRemote(state, GitHubRepositoryList::loaded(std::move(a.repositories)));
        return AppEffect::none();
    }
    AppEffect operator()(AuthAction::RepositoriesFailed& a) {
        setRemote(state, GitHubRepositoryList::failed(std::move(a.message)));
        return AppEffect::none();
    }
    AppEffect operator()(AuthAction::SessionExpired&) { return reducer.sessionExpired(state); }
};

}  // namespace

AppEffect AppReducer::reduceAuth(AppState& state, AuthAction action) const {
    return std::visit(AuthArms{*this, state}, action.value);
}

AppEffect AppReducer::sessionExpired(AppState& state) const {
    state.session.reset();
    AppEffect toast = showToast(state, core::Text::toastSessionExpired(), true);
    auto forget = [accounts = dependencies_.accounts](AppEffect::Send, std::stop_token stop) {
        try {
            accounts->remove(stop);
        } catch (...) {
            // The session is gone from the program either way.
        }
    };
    return AppEffect::merge(std::move(toast), AppEffect::run(std::nullopt, std::move(forget)));
}

core::Text AppReducer::hostingText(const std::exception_ptr& error) {
    try {
        if (error) std::rethrow_exception(error);
    } catch (const core::HostingError& hosting) {
        return std::visit(HostingWords{}, hosting.value);
    } catch (...) {
    }
    return core::Text::raw(ErrorText::describe(error));
}

}  // namespace tarv::features
