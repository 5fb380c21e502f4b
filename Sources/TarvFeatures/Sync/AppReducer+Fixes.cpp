// The fix buttons of a failed sync's message: a fix is carried out only
// when it is one of the buttons of the message that is open, and the
// message closes first. Pull, publish and retry go through `sync`, so its
// guard applies (nothing starts while another sync runs).
#include <algorithm>
#include <exception>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvCore/Ports/PlatformServices.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features {

namespace {

// Job "remote": points "origin" at `url`, then reports the URL git now
// holds (the one set when it cannot be read back) and a toast naming it.
AppEffect useRemoteURL(std::shared_ptr<core::GitRepositoryClient> repository, std::string path, std::string url) {
    return AppEffect::run("remote", [repository = std::move(repository), path = std::move(path),
                                     url = std::move(url)](AppEffect::Send send, std::stop_token stop) {
        try {
            repository->setRemoteURL(path, "origin", url, {});
        } catch (...) {
            if (stop.stop_requested()) return;
            send(AppAction::Notice{core::Text::raw(ErrorText::describe(std::current_exception())), true});
            return;
        }
        std::optional<std::string> current;
        try {
            current = repository->remoteURL(path, "origin", stop);
        } catch (...) {
        }
        // Replaced by the remote load of another repository: the URL would
        // land in that workspace.
        if (!stop.stop_requested()) send(WorkspaceAction::RemoteLoaded{current.value_or(url)});
        send(AppAction::Notice{core::Text::toastRemoteChanged(url), false});
    });
}

}  // namespace

AppEffect AppReducer::apply(AppState& state, const core::FailureFix& fix, const Overlay& from) const {
    const auto* message = std::get_if<Overlay::Message>(&from.value);
    if (!message || std::find(message->fixes.begin(), message->fixes.end(), fix) == message->fixes.end()) {
        return AppEffect::none();
    }
    // `from` and `fix` may live in the overlay that closes here.
    core::FailureFix chosen = fix;
    state.overlay.reset();

    return std::visit(
        [&](const auto& value) -> AppEffect {
            using Fix = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<Fix, core::FailureFix::OpenURL>) {
                return AppEffect::run(std::nullopt, [platform = dependencies_.platform, url = value.url](
                                                        AppEffect::Send, std::stop_token stop) {
                    try {
                        platform->openURL(url, stop);
                    } catch (...) {
                    }
                });
            } else if constexpr (std::is_same_v<Fix, core::FailureFix::SignIn>) {
                return beginSignIn(state);
            } else {
                if (!state.workspace) return AppEffect::none();
                WorkspaceState& workspace = *state.workspace;
                if constexpr (std::is_same_v<Fix, core::FailureFix::UseRemoteURL>) {
                    return useRemoteURL(dependencies_.repository, workspace.path, value.url);
                } else if constexpr (std::is_same_v<Fix, core::FailureFix::Pull>) {
                    return sync(state, core::SyncAction::pull);
                } else if constexpr (std::is_same_v<Fix, core::FailureFix::PublishBranch>) {
                    return sync(state, core::SyncAction::publishBranch);
                } else {
                    static_assert(std::is_same_v<Fix, core::FailureFix::Retry>);
                    return sync(state, workspace.sync.lastFailed.value_or(core::SyncAction::fetch));
                }
            }
        },
        chosen.value);
}

}  // namespace tarv::features
