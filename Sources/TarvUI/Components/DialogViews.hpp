#pragma once

#include <vector>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/FailureFix.hpp"
#include "TarvCore/Models/FileChange.hpp"
#include "TarvUI/Components/UIFrame.hpp"

namespace tarv::features {
struct DeleteBranchState;
struct NewBranchState;
struct PathPromptState;
struct CoAuthorPromptState;
struct ContextMenuState;
struct CredentialPromptState;
}  // namespace tarv::features

// The modal dialogs: a centred box over a dimmed backdrop, its content and a
// row of buttons at the bottom. A click outside the box dismisses; a click
// inside reaches only the buttons, fields and rows.
namespace tarv::ui::DialogViews {

// The files to discard (at most four named, then "… +N").
void confirmDiscard(UIFrame& frame, const std::vector<core::FileChange>& files);
void confirmDeleteBranch(UIFrame& frame, const features::DeleteBranchState& prompt);
// A failure or notice; each fix is a numbered button whose number is its key.
void message(UIFrame& frame, const core::Text& title, const core::Text& body,
             const std::vector<core::FailureFix>& fixes);

// One-line prompts; each places the text cursor in its field.
void newBranch(UIFrame& frame, const features::NewBranchState& prompt);
void addRepository(UIFrame& frame, const features::PathPromptState& prompt);
void coAuthor(UIFrame& frame, const features::CoAuthorPromptState& prompt);

// The commands of a right-clicked row, at the pointer and kept on screen.
void contextMenu(UIFrame& frame, const features::ContextMenuState& menu);
// Git's credential, passphrase and host-key questions; secrets are masked.
void credentials(UIFrame& frame, const features::CredentialPromptState& state);

}  // namespace tarv::ui::DialogViews
