#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "TarvCore/Localization/Language.hpp"
#include "TarvCore/Models/CredentialPrompt.hpp"
#include "TarvCore/Models/ExternalRequest.hpp"
#include "TarvCore/Models/GitHubSession.hpp"
#include "TarvCore/Models/RepositoryEntry.hpp"
#include "TarvFeatures/App/Toast.hpp"
#include "TarvFeatures/Onboarding/OnboardingState.hpp"
#include "TarvFeatures/Overlay/Overlay.hpp"
#include "TarvFeatures/Workspace/Viewports.hpp"
#include "TarvFeatures/Workspace/WorkspaceState.hpp"

namespace tarv::features {

// The whole state of the interactive program. The store holds the one value
// and the reducer changes it in place; the screens draw from it, and the
// program's loop reads `shouldQuit` and `externalRequest`. It holds whole
// repositories' worth of lists and diffs: never copy or compare it on a path
// that runs per key or per frame.
struct AppState {
    enum class Phase { onboarding, launching, welcome, workspace };

    // The first-run environment and identity checks.
    OnboardingState onboarding;
    // The registry of known repositories, as loaded at launch and updated on
    // every open.
    std::vector<core::RepositoryEntry> repositories;
    // The open repository; at most one.
    std::optional<WorkspaceState> workspace;
    // The one overlay above the screen.
    std::optional<Overlay> overlay;
    // The one transient notice.
    std::optional<Toast> toast;
    core::Language language = core::Language::en;
    // Sizes of the scrolled regions as last drawn.
    Viewports viewports;
    // Whole seconds since 1970, stamped at the start of every action.
    std::int64_t now = 0;
    // Set by quit; the loop ends after the action.
    bool shouldQuit = false;
    // A program for the loop to run in the terminal; cleared when it ends.
    std::optional<core::ExternalRequest> externalRequest;
    bool isWindowFocused = true;
    // The signed-in GitHub session.
    std::optional<core::GitHubSession> session;
    // Flags of the credential flow.
    bool gitTokenRejected = false;
    bool answeredGitWithSession = false;
    // The last toast id handed out.
    std::int64_t toastCounter = 0;
    // Launch progress (read by the state logic only): the registry load has
    // reported, the start directory has been resolved (to
    // `startRepositoryPath`, if it is in a repository, or to git's refusal
    // of the repository there), and the start repository has been dealt with.
    bool registryLoaded = false;
    bool startResolved = false;
    std::optional<std::string> startRepositoryPath;
    std::optional<std::string> startRefusal;
    bool launchHandled = false;
    // Credential prompts waiting while they cannot be shown.
    std::vector<core::CredentialPrompt> pendingCredentials;

    explicit AppState(core::Language language = core::Language::en);

    // onboarding until the onboarding checks are done; then workspace while
    // one is open; welcome once the launch handled the start repository or
    // both the registry and the start directory have reported; launching
    // before that.
    Phase phase() const;
    // Whether keystrokes go to a text field: by the open overlay's kind (its
    // text field, or none), else the identity form of onboarding, else the
    // workspace's summary, description or (on the Changes tab) focused file
    // filter.
    bool isEditingText() const;

    // Special members and equality are compiled once, in the .cpp.
    AppState(const AppState&);
    AppState(AppState&&) noexcept;
    AppState& operator=(const AppState&);
    AppState& operator=(AppState&&) noexcept;
    ~AppState();
    bool operator==(const AppState&) const;
};

}  // namespace tarv::features
