// The device-flow sign-in: the overlay opens asking for a code, the job
// "signIn" shows the code, waits for the user to authorise it on the web and
// stores the account it was given.
#include <utility>
#include <variant>

#include "TarvCore/Concurrency/CancellationError.hpp"
#include "TarvCore/Ports/AccountStore.hpp"
#include "TarvCore/Ports/AppClock.hpp"
#include "TarvCore/Ports/GitHubClient.hpp"
#include "TarvCore/Rules/DeviceFlowPoller.hpp"
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {

namespace {

using Status = core::DeviceTokenStatus;

// The user behind `token`, stored for the next run (a failed save only
// means the next run asks again).
core::GitHubSession sessionFor(core::GitHubClient& github, core::AccountStore& accounts, const std::string& token,
                               std::stop_token stop) {
    const core::GitHubUser user = github.currentUser(token, stop);
    core::GitHubSession session{user.login, user.name, token};
    try {
        accounts.save(session, stop);
    } catch (...) {
    }
    return session;
}

}  // namespace

AppEffect AppReducer::beginSignIn(AppState& state) const {
    state.overlay = SignInState();
    auto job = [github = dependencies_.github, clock = dependencies_.clock, accounts = dependencies_.accounts](
                   AppEffect::Send send, std::stop_token stop) {
        try {
            const core::DeviceCode code = github->requestDeviceCode(stop);
            // A replaced sign-in must not show its code over the new one's.
            if (stop.stop_requested()) return;
            send(AuthAction::DeviceCodeReceived{code});
            const Status status = core::DeviceFlowPoller::waitForToken(*github, *clock, code, stop);
            if (const auto* authorized = std::get_if<Status::Authorized>(&status.value)) {
                send(AuthAction::SignedIn{sessionFor(*github, *accounts, authorized->token, stop)});
            } else if (std::holds_alternative<Status::Denied>(status.value)) {
                send(AuthAction::SignInFailed{core::Text::hostingDenied()});
            } else {
                send(AuthAction::SignInFailed{core::Text::hostingExpiredCode()});
            }
        } catch (const core::CancellationError&) {
        } catch (...) {
            if (!stop.stop_requested()) send(AuthAction::SignInFailed{hostingText(std::current_exception())});
        }
    };
    return AppEffect::run("signIn", std::move(job));
}

}  // namespace tarv::features
