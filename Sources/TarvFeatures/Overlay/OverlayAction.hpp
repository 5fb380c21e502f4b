#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/FailureFix.hpp"
#include "TarvFeatures/Architecture/VariantCase.hpp"
#include "TarvFeatures/Overlay/BranchPickerState.hpp"
#include "TarvFeatures/Sync/PublishRepositoryState.hpp"

namespace tarv::features {

// Everything that happens inside the open overlay: gestures, and the results
// of the jobs that belong to one. Each case is a struct named after it:
// `OverlayAction{OverlayAction::MoveSelection{1}}`, or
// `AppAction{OverlayAction::Dismiss{}}` straight into an application action.
struct OverlayAction {
    // A signed row delta.
    struct MoveSelection {
        std::int64_t by = 0;
        bool operator==(const MoveSelection&) const = default;
    };
    // A row index.
    struct Select {
        std::int64_t index = 0;
        bool operator==(const Select&) const = default;
    };
    struct SetBranchTab {
        BranchPickerState::Tab tab = BranchPickerState::Tab::branches;
        bool operator==(const SetBranchTab&) const = default;
    };
    // A fix button of a message overlay.
    struct ApplyFix {
        core::FailureFix fix;
        bool operator==(const ApplyFix&) const = default;
    };
    // The path check of the add-repository prompt: the repository root found,
    // none when the path holds no repository.
    struct PathChecked {
        std::optional<std::string> root;
        bool operator==(const PathChecked&) const = default;
    };
    struct RepositoryCreated {
        std::string path;
        bool operator==(const RepositoryCreated&) const = default;
    };
    struct CreateRepositoryFailed {
        core::Text text;
        bool operator==(const CreateRepositoryFailed&) const = default;
    };
    struct CloneFinished {
        std::string path;
        bool operator==(const CloneFinished&) const = default;
    };
    struct CloneFailed {
        core::Text text;
        bool operator==(const CloneFailed&) const = default;
    };
    struct FocusPublishField {
        PublishRepositoryState::Field field = PublishRepositoryState::Field::name;
        bool operator==(const FocusPublishField&) const = default;
    };
    struct PublishFinished {
        std::string fullName;
        bool operator==(const PublishFinished&) const = default;
    };
    struct PublishFailed {
        core::Text text;
        bool operator==(const PublishFailed&) const = default;
    };
    // A signed row delta of the list's offset.
    struct Scroll {
        std::int64_t by = 0;
        bool operator==(const Scroll&) const = default;
    };
    struct Dismiss {
        bool operator==(const Dismiss&) const = default;
    };
    struct ActivateSelection {
        bool operator==(const ActivateSelection&) const = default;
    };
    struct SwitchCloneField {
        bool operator==(const SwitchCloneField&) const = default;
    };
    struct Confirm {
        bool operator==(const Confirm&) const = default;
    };
    struct Submitted {
        bool operator==(const Submitted&) const = default;
    };
    // The offer to create a repository in the add-repository prompt.
    struct CreateRepositoryInstead {
        bool operator==(const CreateRepositoryInstead&) const = default;
    };
    struct TogglePublishPrivate {
        bool operator==(const TogglePublishPrivate&) const = default;
    };
    struct DropSelection {
        bool operator==(const DropSelection&) const = default;
    };

    using Value = std::variant<MoveSelection, Select, SetBranchTab, ApplyFix, PathChecked, RepositoryCreated,
                               CreateRepositoryFailed, CloneFinished, CloneFailed, FocusPublishField, PublishFinished,
                               PublishFailed, Scroll, Dismiss, ActivateSelection, SwitchCloneField, Confirm, Submitted,
                               CreateRepositoryInstead, TogglePublishPrivate, DropSelection>;
    Value value;

    template <CaseOf<Value> Case>
    OverlayAction(Case&& action)  // NOLINT: implicit on purpose
        : value(std::in_place_type<std::remove_cvref_t<Case>>, std::forward<Case>(action)) {}

    // Special members and equality are compiled once, in the .cpp.
    OverlayAction(const OverlayAction&);
    OverlayAction(OverlayAction&&) noexcept;
    OverlayAction& operator=(const OverlayAction&);
    OverlayAction& operator=(OverlayAction&&) noexcept;
    ~OverlayAction();
    bool operator==(const OverlayAction&) const;
};

}  // namespace tarv::features
