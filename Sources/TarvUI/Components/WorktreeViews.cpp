#include "TarvUI/Components/WorktreeViews.hpp"

#include <algorithm>
#include <string>

#include "TarvFeatures/App/AppState.hpp"
#include "TarvTerminal/Geometry/Layout.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/TextTruncation.hpp"
#include "TarvUI/Components/DialogFrame.hpp"
#include "TarvUI/Components/PickerDialog.hpp"

namespace tarv::ui::WorktreeViews {

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
    terminal::Layout::RowStack rows(c);
    rows.skip();
    const Rect branch = rows.take();
    rows.skip();
    const Rect message = rows.take();
    DialogFrame::textField(frame, branch, prompt.branch, frame.text(core::Text::newWorktreePlaceholder()));
    if (!prompt.branch.isEmpty()) {
        if (prompt.isValid()) {
            frame.canvas.draw(frame.text(core::Text::newWorktreeWillBe(prompt.destination())), message.origin,
                              frame.styles.popoverDim, message.size.width);
        } else {
            frame.canvas.draw(frame.text(core::Text::invalidBranchName()), message.origin,
                              DialogFrame::error(frame.styles), message.size.width);
        }
    }
    DialogFrame::drawButtons(
        frame, {DialogFrame::submit(frame, core::Text::buttonCreate()), DialogFrame::cancel(frame)}, rows.takeBottom());
}

}  // namespace tarv::ui::WorktreeViews
