#pragma once

#include <cstddef>
#include <utility>
#include <variant>
#include <vector>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/FailureFix.hpp"
#include "TarvCore/Models/FileChange.hpp"
#include "TarvCore/Models/ListScroll.hpp"
#include "TarvFeatures/Architecture/VariantCase.hpp"
#include "TarvFeatures/Auth/SignInState.hpp"
#include "TarvFeatures/History/NewTagState.hpp"
#include "TarvFeatures/History/TagPickerState.hpp"
#include "TarvFeatures/Overlay/BranchPickerState.hpp"
#include "TarvFeatures/Overlay/ClonePromptState.hpp"
#include "TarvFeatures/Overlay/CoAuthorPromptState.hpp"
#include "TarvFeatures/Overlay/ContextMenuState.hpp"
#include "TarvFeatures/Overlay/CredentialPromptState.hpp"
#include "TarvFeatures/Overlay/DeleteBranchState.hpp"
#include "TarvFeatures/Overlay/NewBranchState.hpp"
#include "TarvFeatures/Overlay/PathPromptState.hpp"
#include "TarvFeatures/Overlay/RepositoryPickerState.hpp"
#include "TarvFeatures/Overlay/StashPickerState.hpp"
#include "TarvFeatures/Palette/PaletteState.hpp"
#include "TarvFeatures/Repositories/NewWorktreeState.hpp"
#include "TarvFeatures/Repositories/WorktreePickerState.hpp"
#include "TarvFeatures/Sync/PublishRepositoryState.hpp"

namespace tarv::features {

// The one modal layer above the screen, with the whole state of its kind.
//
// A kind whose payload is its own state type holds that state directly, so
// `Overlay{BranchPickerState(BranchPickerState::Mode::merge)}` opens the
// branch picker and `std::get_if<BranchPickerState>(&overlay.value)` reads
// it; the three other kinds are the structs `ConfirmDiscard`, `Message` and
// `Help`. The alternatives follow the order of `Kind`.
struct Overlay {
    enum class Kind {
        repositories,
        branches,
        palette,
        confirmDiscard,
        confirmDeleteBranch,
        message,
        newBranch,
        addRepository,
        coAuthor,
        signIn,
        newTag,
        tags,
        worktrees,
        newWorktree,
        clone,
        publishRepository,
        contextMenu,
        credentials,
        stashes,
        help,
    };
    static constexpr std::size_t kindCount = 20;

    // Confirmation before discarding these changed files.
    struct ConfirmDiscard {
        std::vector<core::FileChange> files;
        bool operator==(const ConfirmDiscard&) const = default;
    };
    // A message with optional fix buttons.
    struct Message {
        core::Text title;
        core::Text body;
        std::vector<core::FailureFix> fixes;
        bool operator==(const Message&) const = default;
    };
    // The shortcuts; `list.offset` is the first line shown when they do not
    // all fit (nothing is selected).
    struct Help {
        core::ListScroll list;
        bool operator==(const Help&) const = default;
    };

    using Value = std::variant<RepositoryPickerState,  // repositories
                               BranchPickerState,      // branches
                               PaletteState,           // palette
                               ConfirmDiscard,         // confirmDiscard
                               DeleteBranchState,      // confirmDeleteBranch
                               Message,                // message
                               NewBranchState,         // newBranch
                               PathPromptState,        // addRepository
                               CoAuthorPromptState,    // coAuthor
                               SignInState,            // signIn
                               NewTagState,            // newTag
                               TagPickerState,         // tags
                               WorktreePickerState,    // worktrees
                               NewWorktreeState,       // newWorktree
                               ClonePromptState,       // clone
                               PublishRepositoryState, // publishRepository
                               ContextMenuState,       // contextMenu
                               CredentialPromptState,  // credentials
                               StashPickerState,       // stashes
                               Help>;                  // help
    Value value;

    template <CaseOf<Value> Case>
    Overlay(Case&& state)  // NOLINT: implicit on purpose
        : value(std::in_place_type<std::remove_cvref_t<Case>>, std::forward<Case>(state)) {}

    // A message overlay; no fix buttons unless given.
    static Overlay message(core::Text title, core::Text body, std::vector<core::FailureFix> fixes = {});

    Kind kind() const { return static_cast<Kind>(value.index()); }

    // Special members and equality are compiled once, in the .cpp.
    Overlay(const Overlay&);
    Overlay(Overlay&&) noexcept;
    Overlay& operator=(const Overlay&);
    Overlay& operator=(Overlay&&) noexcept;
    ~Overlay();
    bool operator==(const Overlay&) const;
};

}  // namespace tarv::features
