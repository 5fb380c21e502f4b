#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/AppCommand.hpp"
#include "TarvCore/Models/CredentialPrompt.hpp"
#include "TarvCore/Models/RepositoryEntry.hpp"
#include "TarvCore/Models/TextEdit.hpp"
#include "TarvFeatures/Architecture/VariantCase.hpp"
#include "TarvFeatures/Auth/AuthAction.hpp"
#include "TarvFeatures/Onboarding/OnboardingAction.hpp"
#include "TarvFeatures/Overlay/OverlayAction.hpp"
#include "TarvFeatures/Workspace/Viewports.hpp"
#include "TarvFeatures/Workspace/WorkspaceAction.hpp"

namespace tarv::features {

// Everything that can happen to the application state: input already routed
// into intent, job results, timer and window events.
//
// The four cases that carry an action type of their own (onboarding,
// workspace, overlay, auth) hold it directly; every other case is a struct
// named after it with its payload in named members. A case of one of those
// four action types converts straight into an application action:
//   AppAction{AppAction::Launch{"/start"}}
//   AppAction{WorkspaceAction::FilesChanged{}}   (same as AppAction{WorkspaceAction{...}})
//   AppAction{OverlayAction::Dismiss{}}
//   AppAction{AuthAction::SessionExpired{}}
// and is read back with std::get_if / std::visit on `value`.
struct AppAction {
    struct Launch {
        std::string startDirectory;
        bool operator==(const Launch&) const = default;
    };
    struct RegistryLoaded {
        std::vector<core::RepositoryEntry> entries;
        bool operator==(const RegistryLoaded&) const = default;
    };
    // The repository root of the start directory; none when it is not inside
    // a repository. `refusal`: git found a repository there but refused it
    // (one owned by another user), in git's own words.
    struct StartRepositoryResolved {
        std::optional<std::string> path;
        std::optional<std::string> refusal = std::nullopt;
        bool operator==(const StartRepositoryResolved&) const = default;
    };
    // A known repository chosen from the registry list.
    struct OpenRepository {
        std::string path;
        bool operator==(const OpenRepository&) const = default;
    };
    struct RepositoryChecked {
        std::string path;
        bool exists = false;
        bool operator==(const RepositoryChecked&) const = default;
    };
    // A command from the keymap, the palette, a menu or a button.
    struct Command {
        core::AppCommand command = core::AppCommand::showChanges;
        bool operator==(const Command&) const = default;
    };
    struct CredentialRequested {
        core::CredentialPrompt prompt;
        bool operator==(const CredentialRequested&) const = default;
    };
    // The commands to offer, the anchor cell and the item the menu concerns.
    struct OpenContextMenu {
        std::vector<core::AppCommand> items;
        std::int64_t x = 0;
        std::int64_t y = 0;
        std::optional<std::string> target;
        bool operator==(const OpenContextMenu&) const = default;
    };
    // An editing key for the focused text field.
    struct Edit {
        core::TextEdit edit;
        bool operator==(const Edit&) const = default;
    };
    // Bracketed paste.
    struct Pasted {
        std::string text;
        bool operator==(const Pasted&) const = default;
    };
    struct DismissToast {
        std::int64_t id = 0;
        bool operator==(const DismissToast&) const = default;
    };
    struct Notice {
        core::Text text;
        bool isError = false;
        bool operator==(const Notice&) const = default;
    };
    // The drawn region sizes changed.
    struct Viewports {
        features::Viewports viewports;
        bool operator==(const Viewports&) const = default;
    };
    struct WindowFocus {
        bool focused = false;
        bool operator==(const WindowFocus&) const = default;
    };
    // An external program ended.
    struct ExternalFinished {
        bool failed = false;
        bool operator==(const ExternalFinished&) const = default;
    };
    // Every 30 seconds.
    struct Tick {
        bool operator==(const Tick&) const = default;
    };
    // ctrl-C.
    struct Quit {
        bool operator==(const Quit&) const = default;
    };

    using Value = std::variant<OnboardingAction, Launch, RegistryLoaded, StartRepositoryResolved, OpenRepository,
                               RepositoryChecked, WorkspaceAction, OverlayAction, Command, CredentialRequested,
                               AuthAction, OpenContextMenu, Edit, Pasted, DismissToast, Notice, Viewports,
                               WindowFocus, ExternalFinished, Tick, Quit>;
    Value value;

    template <CaseOf<Value> Case>
    AppAction(Case&& action)  // NOLINT: implicit on purpose
        : value(std::in_place_type<std::remove_cvref_t<Case>>, std::forward<Case>(action)) {}
    template <CaseOf<WorkspaceAction::Value> Case>
    AppAction(Case&& action)  // NOLINT: implicit on purpose
        : value(std::in_place_type<WorkspaceAction>, std::forward<Case>(action)) {}
    template <CaseOf<OverlayAction::Value> Case>
    AppAction(Case&& action)  // NOLINT: implicit on purpose
        : value(std::in_place_type<OverlayAction>, std::forward<Case>(action)) {}
    template <CaseOf<AuthAction::Value> Case>
    AppAction(Case&& action)  // NOLINT: implicit on purpose
        : value(std::in_place_type<AuthAction>, std::forward<Case>(action)) {}
    template <CaseOf<OnboardingAction::Value> Case>
    AppAction(Case&& action)  // NOLINT: implicit on purpose
        : value(std::in_place_type<OnboardingAction>, std::forward<Case>(action)) {}

    // Special members and equality are compiled once, in the .cpp.
    AppAction(const AppAction&);
    AppAction(AppAction&&) noexcept;
    AppAction& operator=(const AppAction&);
    AppAction& operator=(AppAction&&) noexcept;
    ~AppAction();
    bool operator==(const AppAction&) const;
};

}  // namespace tarv::features
