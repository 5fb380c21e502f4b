// The start-up of the interactive program: five jobs at once, and the one
// open of the start repository once the three that gate the first screen
// (onboarding done, registry loaded, start directory resolved) have all
// reported, in whatever order.
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "TarvCore/Errors/GitError.hpp"

#include "TarvCore/Ports/AccountStore.hpp"
#include "TarvCore/Ports/CredentialBroker.hpp"
#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvCore/Ports/RepositoryRegistry.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features {

namespace {

// The root of the repository holding `directory`; a failure counts as none,
// and where git ran and refused the repository its words are kept.
AppEffect resolveStartDirectory(std::shared_ptr<core::GitRepositoryClient> repository, std::string directory) {
    return AppEffect::run(std::nullopt, [repository = std::move(repository), directory = std::move(directory)](
                                            AppEffect::Send send, std::stop_token stop) {
        std::optional<std::string> root;
        std::optional<std::string> refusal;
        try {
            root = repository->repositoryRoot(directory, stop);
        } catch (const core::GitError& error) {
            if (std::holds_alternative<core::GitError::CommandFailed>(error.value)) refusal = ErrorText::describe(error);
        } catch (...) {
        }
        send(AppAction::StartRepositoryResolved{std::move(root), std::move(refusal)});
    });
}

// Relays git's credential prompts for as long as the program runs.
AppEffect subscribeToCredentials(std::shared_ptr<core::CredentialBroker> credentials) {
    return AppEffect::run("credentials", [credentials = std::move(credentials)](AppEffect::Send send,
                                                                                std::stop_token stop) {
        const auto prompts = credentials->prompts();
        while (auto prompt = prompts->next(stop)) send(AppAction::CredentialRequested{std::move(*prompt)});
    });
}

}  // namespace

AppEffect AppReducer::launch(AppState& state, const std::string& directory) const {
    state.onboarding.step = OnboardingState::Step::checking();
    auto check = onboardingReducer_.environmentCheck().map<AppAction>(
        [](OnboardingAction action) { return AppAction(std::move(action)); });
    return AppEffect::merge(std::move(check), loadRegistryPruningMissing(),
                            resolveStartDirectory(dependencies_.repository, directory),
                            subscribeToCredentials(dependencies_.credentials), loadSession());
}

AppEffect AppReducer::advanceLaunch(AppState& state) const {
    const bool ready = state.onboarding.step.is<OnboardingState::Step::Done>() && state.registryLoaded &&
                       state.startResolved && !state.launchHandled;
    if (!ready) return AppEffect::none();
    state.launchHandled = true;
    if (!state.workspace && state.startRefusal) {
        // The welcome screen, with the reason the start folder did not open.
        state.overlay = Overlay::message(core::Text::errorTitle(), core::Text::raw(*state.startRefusal));
    }
    if (state.workspace || !state.startRepositoryPath) return AppEffect::none();
    const std::string path = *state.startRepositoryPath;
    return open(state, path);
}

AppEffect AppReducer::loadRegistryPruningMissing() const {
    return AppEffect::run(std::nullopt, [registry = dependencies_.registry, repository = dependencies_.repository](
                                            AppEffect::Send send, std::stop_token stop) {
        std::vector<core::RepositoryEntry> stored;
        try {
            stored = registry->load(stop);
        } catch (...) {
            stored.clear();
        }
        std::vector<core::RepositoryEntry> kept;
        std::vector<std::string> missing;
        for (auto& entry : stored) {
            bool exists = true;  // an entry is never dropped because the check itself failed
            try {
                exists = repository->repositoryExists(entry.path, stop);
            } catch (...) {
            }
            if (exists) {
                kept.push_back(std::move(entry));
            } else {
                missing.push_back(std::move(entry.name));
            }
        }
        if (missing.empty()) {
            send(AppAction::RegistryLoaded{std::move(kept)});
            return;
        }
        try {
            registry->save(kept, stop);
        } catch (...) {
            // The pruned list still holds for this run.
        }
        send(AppAction::RegistryLoaded{std::move(kept)});
        send(AppAction::Notice{core::Text::toastRepositoriesMissing(std::move(missing)), false});
    });
}

AppEffect AppReducer::loadSession() const {
    return AppEffect::run(std::nullopt, [accounts = dependencies_.accounts](AppEffect::Send send,
                                                                            std::stop_token stop) {
        std::optional<core::GitHubSession> session;
        try {
            session = accounts->load(stop);
        } catch (...) {
            session.reset();
        }
        send(AuthAction::SessionLoaded{std::move(session)});
    });
}

}  // namespace tarv::features
