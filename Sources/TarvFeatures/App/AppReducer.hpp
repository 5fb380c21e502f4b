#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/AppCommand.hpp"
#include "TarvCore/Models/CredentialPrompt.hpp"
#include "TarvCore/Models/TextEdit.hpp"
#include "TarvFeatures/App/AppAction.hpp"
#include "TarvFeatures/App/AppState.hpp"
#include "TarvFeatures/Architecture/Dependencies.hpp"
#include "TarvFeatures/Architecture/Effect.hpp"
#include "TarvFeatures/Onboarding/OnboardingReducer.hpp"

namespace tarv::features {

using AppEffect = Effect<AppAction>;

// The root reducer of the program: `reduce` stamps the time, then hands each
// action to the member that handles it. The members are grouped by feature;
// each group lives in a file of its own named after it
// (`AppReducer+Launch.cpp`, `Workspace/AppReducer+Workspace.cpp`, ...), and
// this header declares them all, one commented section per group.
//
// Rules every member keeps:
// - It changes the state in place and returns the work that follows as an
//   effect; it does no input or output itself. The only port called while
//   reducing is the clock (`reduce` stamps `now`).
// - A job captures copies of exactly the ports it needs and plain values
//   (a path, a list), never the state or `this`, and reports everything,
//   failures included, as actions.
// - An action that does not apply (no repository, no overlay, a stale
//   result) returns `AppEffect::none()`; it is never an error.
class AppReducer {
public:
    using State = AppState;
    using Action = AppAction;

    explicit AppReducer(Dependencies dependencies);

    const Dependencies& dependencies() const { return dependencies_; }

    AppEffect reduce(AppState& state, AppAction action) const;

    // ---- Shared by every group (AppReducer.cpp) -------------------------

    // Shows `text` as the one toast (replacing any other) and starts the job
    // "toast" that dismisses it after 4 seconds, 7 for an error.
    AppEffect showToast(AppState& state, core::Text text, bool isError) const;
    // Copies the drawn sizes into the open workspace and pulls its lists and
    // diff offsets back inside them.
    void clampLists(AppState& state) const;

    // ---- Launch (App/AppReducer+Launch.cpp) -----------------------------

    // Starts the five start-up jobs: environment check, registry load,
    // start-directory resolution, credential prompts ("credentials"),
    // session load.
    AppEffect launch(AppState& state, const std::string& directory) const;
    // Opens the start repository, once, when the onboarding is done, the
    // registry loaded and the start directory resolved.
    AppEffect advanceLaunch(AppState& state) const;
    // Anonymous job: the registry without the entries whose folder is gone
    // (saved back when any was dropped); sends `registryLoaded`, then a
    // notice naming the dropped ones.
    AppEffect loadRegistryPruningMissing() const;
    // Anonymous job: the stored hosting session; sends `auth(sessionLoaded)`.
    AppEffect loadSession() const;

    // ---- Opening a repository and its loads (App/AppReducer+Open.cpp) ---

    // Makes `path` the open workspace, records it in the registry and starts
    // its keyed loads, watcher and background fetch.
    AppEffect open(AppState& state, const std::string& path) const;
    // Adds or updates the registry entry of `path` (stamped `now`) and saves
    // the registry (job "registry"; the last save wins).
    AppEffect upsertRepository(AppState& state, const std::string& path, const std::string& name,
                               const std::optional<std::string>& remote) const;
    // Job builders, each one job under a fixed id; the feature flows reuse
    // them to reload after a change.
    AppEffect refreshStatus(const std::string& path) const;  // "status"
    AppEffect loadBranches(const std::string& path) const;   // "branches" (branches, then tags)
    AppEffect loadRemote(const std::string& path) const;     // "remote"
    // "history" for skip 0, else "historyMore": one page of
    // HistoryState::pageSize commits.
    AppEffect loadHistory(const std::string& path, std::int64_t skip) const;
    AppEffect loadStashes(const std::string& path) const;  // "stashes"
    AppEffect watch(const std::string& path) const;        // "watcher"
    AppEffect autoFetch() const;                           // "autofetch"

    // ---- Onboarding (Onboarding/AppReducer+Onboarding.cpp) --------------

    // Forwards to the onboarding reducer, lifts its effect into the
    // application's actions, then lets the launch advance.
    AppEffect reduceOnboarding(AppState& state, OnboardingAction action) const;

    // ---- Repository registry (Repositories/AppReducer+Repositories.cpp) -

    // Anonymous job: whether `path` still holds a repository; sends
    // `repositoryChecked`.
    AppEffect openFromList(const std::string& path) const;
    // Opens the repository, or drops its vanished entry, saves the registry
    // and says so in a toast.
    AppEffect repositoryChecked(AppState& state, const std::string& path, bool exists) const;

    // ---- Workspace (Workspace/AppReducer+Workspace.cpp) -----------------
    // Workspace actions, the status, diff and history flows and every
    // operation on the open repository. Until that group lands the arm
    // does nothing.
    AppEffect reduceWorkspace(AppState& state, WorkspaceAction action) const;

    // ---- Overlays and text editing (Overlay/AppReducer+Overlay.cpp) -----
    // Overlay actions, and an edit (typed or pasted) of the focused text
    // field. Until that group lands both arms do nothing.
    AppEffect reduceOverlay(AppState& state, OverlayAction action) const;
    AppEffect apply(AppState& state, const core::TextEdit& edit) const;

    // ---- Commands (Palette/AppReducer+Commands.cpp) ---------------------
    // A command from the keymap, the palette, a menu or a button. Until that
    // group lands the arm does nothing.
    AppEffect perform(AppState& state, core::AppCommand command) const;

    // ---- Hosting session and sign-in (Auth/AppReducer+Auth.cpp) ---------
    // Until that group lands the arm does nothing.
    AppEffect reduceAuth(AppState& state, AuthAction action) const;

    // ---- Credential prompts (Auth/AppReducer+Credentials.cpp) -----------
    // A prompt of git's credential stream: answered from the session, shown,
    // or queued. Until that group lands the arm does nothing.
    AppEffect credentialRequested(AppState& state, core::CredentialPrompt prompt) const;

private:
    Dependencies dependencies_;
    OnboardingReducer onboardingReducer_;
};

}  // namespace tarv::features
