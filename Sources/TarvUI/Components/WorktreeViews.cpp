#include "TarvUI/Components/WorktreeViews.hpp"

#include <algorithm>
#include <string>

#include "TarvFeatures/App/AppState.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/TextTruncation.hpp"
#include "TarvUI/Components/DialogFrame.hpp"
#include "TarvUI/Components/PickerDialog.hpp"

namespace tarv::ui::WorktreeViews {

using features::OverlayAction;
using terminal::Point;
using terminal::Rect;

namespace {

std::string marks(const UIFrame& frame, const features::AppState& state, const core::Worktree& worktree) {
    std::string text = worktree.branch ? "\u2387 " + *worktree.branch : frame.text(core::Text::worktreeDetached());
    if (worktree.isMain) text += " \u00B7 " + frame.text(core::Text::worktreeMain());
    if (state.workspace && state.workspace->path == worktree.path) {
        text += " \u00B7 " + frame.text(core::Text::worktreeCurrent());
    }
    return text;
}

}  // namespace

void picker(UIFrame& frame, const features::AppState& state, const features::WorktreePickerState& picker) {
    const PickerDialog::Layout layout{frame.text(core::Text::worktreesTitle()), frame.text(core::Text::loading()),
                                      frame.text(core::Text::worktreesHint()),
                                      static_cast<std::int64_t>(picker.worktrees.size()), 90, 4};
    PickerDialog::draw(frame, layout, picker.list, [&](std::int64_t i, const Rect& row, const terminal::Style& style) {
        const auto& worktree = picker.worktrees[static_cast<std::size_t>(i)];
        const std::string right = marks(frame, state, worktree);
        const std::int64_t pathWidth =
            std::max<std::int64_t>(row.size.width - terminal::DisplayWidth::width(right) - 3, 1);
        frame.canvas.draw(" " + terminal::TextTruncation::middle(worktree.path, pathWidth, std::nullopt), row.origin,
                          style);
        PickerDialog::drawRight(frame, row, style, right);
    });
}

void newWorktree(UIFrame& frame, const features::NewWorktreeState& prompt) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const Rect box = DialogFrame::centred(screen, std::min<std::int64_t>(screen.width - 4, 80),
                                          std::min<std::int64_t>(screen.height - 2, 9));
    const Rect c = DialogFrame::open(frame, box, frame.text(core::Text::newWorktreeTitle()));
    DialogFrame::textField(frame, Rect(c.minX(), c.minY() + 1, c.size.width, 1), prompt.branch,
                           frame.text(core::Text::newWorktreePlaceholder()));
    if (!prompt.branch.isEmpty()) {
        const Point at{c.minX(), c.minY() + 3};
        if (prompt.isValid()) {
            frame.canvas.draw(frame.text(core::Text::newWorktreeWillBe(prompt.destination())), at,
                              frame.styles.popoverDim, c.size.width);
        } else {
            frame.canvas.draw(frame.text(core::Text::invalidBranchName()), at, DialogFrame::error(frame.styles),
                              c.size.width);
        }
    }
    DialogFrame::drawButtons(frame,
                             {{DialogFrame::label(frame, core::Text::buttonCreate(), "\u23CE"),
                               DialogFrame::primary(frame.styles),
                               {DialogFrame::overlayAction(OverlayAction::Submitted{})}},
                              {DialogFrame::label(frame, core::Text::cancel(), "Esc"),
                               DialogFrame::secondary(frame.styles),
                               {DialogFrame::overlayAction(OverlayAction::Dismiss{})}}},
                             c.minX(), c.maxY() - 1);
}

}  // namespace tarv::ui::WorktreeViews
