#include "TarvUI/Screens/OverlayDispatch.hpp"

#include <variant>
#include <vector>

#include "TarvFeatures/App/AppState.hpp"
#include "TarvFeatures/Palette/PaletteCommands.hpp"
#include "TarvUI/Components/BranchPickerView.hpp"
#include "TarvUI/Components/CloneView.hpp"
#include "TarvUI/Components/DialogViews.hpp"
#include "TarvUI/Components/HelpView.hpp"
#include "TarvUI/Components/PaletteView.hpp"
#include "TarvUI/Components/PublishRepositoryView.hpp"
#include "TarvUI/Components/RepositoryPickerView.hpp"
#include "TarvUI/Components/SignInView.hpp"
#include "TarvUI/Components/StashPickerView.hpp"
#include "TarvUI/Components/TagViews.hpp"
#include "TarvUI/Components/WorktreeViews.hpp"

namespace tarv::ui::OverlayDispatch {

using features::AppState;
using features::Overlay;

namespace {

template <class... Arms>
struct Overloaded : Arms... {
    using Arms::operator()...;
};
template <class... Arms>
Overloaded(Arms...) -> Overloaded<Arms...>;

// The palette's rows: the very list the reducer picks from when a row is
// activated.
std::vector<core::AppCommand> paletteResults(const AppState& state, const features::PaletteState& palette) {
    return features::PaletteCommands::results(state, palette.query.text());
}

}  // namespace

void draw(UIFrame& frame, const Overlay& overlay, const AppState& state, const WorkspaceLayout& layout) {
    std::visit(
        Overloaded{
            [&](const features::RepositoryPickerState& o) {
                RepositoryPickerView::draw(frame, state, o, state.workspace ? &layout : nullptr);
            },
            [&](const features::BranchPickerState& o) { BranchPickerView::draw(frame, state, o, layout); },
            [&](const features::PaletteState& o) { PaletteView::draw(frame, o, paletteResults(state, o)); },
            [&](const Overlay::ConfirmDiscard& o) { DialogViews::confirmDiscard(frame, o.files); },
            [&](const features::DeleteBranchState& o) { DialogViews::confirmDeleteBranch(frame, o); },
            [&](const Overlay::Message& o) { DialogViews::message(frame, o.title, o.body, o.fixes); },
            [&](const features::NewBranchState& o) { DialogViews::newBranch(frame, o); },
            [&](const features::PathPromptState& o) { DialogViews::addRepository(frame, o); },
            [&](const features::CoAuthorPromptState& o) { DialogViews::coAuthor(frame, o); },
            [&](const features::SignInState& o) { SignInView::draw(frame, o); },
            [&](const features::NewTagState& o) { TagViews::newTag(frame, o); },
            [&](const features::TagPickerState& o) { TagViews::picker(frame, state, o); },
            [&](const features::WorktreePickerState& o) { WorktreeViews::picker(frame, state, o); },
            [&](const features::NewWorktreeState& o) { WorktreeViews::newWorktree(frame, o); },
            [&](const features::ClonePromptState& o) { CloneView::draw(frame, o); },
            [&](const features::PublishRepositoryState& o) { PublishRepositoryView::draw(frame, o); },
            [&](const features::ContextMenuState& o) { DialogViews::contextMenu(frame, o); },
            [&](const features::CredentialPromptState& o) { DialogViews::credentials(frame, o); },
            [&](const features::StashPickerState& o) { StashPickerView::draw(frame, state, o); },
            [&](const Overlay::Help& o) { HelpView::draw(frame, o); },
        },
        overlay.value);
}

}  // namespace tarv::ui::OverlayDispatch
