#include <algorithm>
#include <string>

#include "TarvFeatures/Overlay/DeleteBranchState.hpp"
#include "TarvTerminal/Text/TextSlicing.hpp"
#include "TarvTerminal/Text/TextTruncation.hpp"
#include "TarvTerminal/Text/TextWrapping.hpp"
#include "TarvUI/Components/DialogFrame.hpp"
#include "TarvUI/Components/DialogViews.hpp"

namespace tarv::ui::DialogViews {

using features::OverlayAction;
using terminal::Point;
using terminal::Rect;
using terminal::TextWrapping::wrap;

namespace {

DialogFrame::Button dangerConfirm(const UIFrame& frame, const core::Text& text) {
    DialogFrame::Button button = DialogFrame::confirm(frame, text);
    button.style = DialogFrame::danger(frame.styles);
    return button;
}

}  // namespace

void confirmDiscard(UIFrame& frame, const std::vector<core::FileChange>& files) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const auto count = static_cast<std::int64_t>(files.size());
    const std::int64_t shown = std::min<std::int64_t>(count, 4);
    const Rect box = DialogFrame::centred(screen, std::min<std::int64_t>(screen.width - 2, 64),
                                          std::min<std::int64_t>(screen.height - 2, shown + 10));
    const Rect c = DialogFrame::open(frame, box, frame.text(core::Text::discardTitle()));
    std::int64_t y = c.minY() + 1;
    for (const auto& line : wrap(frame.text(core::Text::discardBody(count)), c.size.width)) {
        frame.canvas.draw(line, Point{c.minX(), y++}, frame.styles.popover);
    }
    y += 1;
    for (std::int64_t i = 0; i < shown; ++i) {
        if (y >= c.maxY() - 2) continue;
        // Control characters in a name stay visible ("a<LF>b" is not "ab").
        const std::string path = terminal::TextTruncation::middle(
            terminal::TextSlicing::withVisibleControls(files[static_cast<std::size_t>(i)].path), c.size.width - 3,
            std::nullopt);
        frame.canvas.draw("\u2022 " + path, Point{c.minX(), y++}, frame.styles.popoverDim);
    }
    if (count > 4) {
        frame.canvas.draw("\u2026 +" + std::to_string(count - 4), Point{c.minX(), y}, frame.styles.popoverDim);
    }
    DialogFrame::drawButtons(frame, {dangerConfirm(frame, core::Text::discardConfirm()), DialogFrame::cancel(frame)},
                             c.minX(), c.maxY() - 1);
}

void confirmDeleteBranch(UIFrame& frame, const features::DeleteBranchState& prompt) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const core::Text body = prompt.needsForce ? core::Text::deleteBranchForceBody(prompt.name)
                                              : core::Text::deleteBranchBody(prompt.name);
    const auto lines = wrap(frame.text(body), std::min<std::int64_t>(screen.width - 8, 62));
    const auto lineCount = static_cast<std::int64_t>(lines.size());
    const Rect box = DialogFrame::centred(screen, std::min<std::int64_t>(screen.width, 72) - 4,
                                          std::min<std::int64_t>(lineCount + 6, screen.height - 2));
    const Rect c = DialogFrame::open(frame, box, frame.text(core::Text::deleteBranchTitle(prompt.name)));
    for (std::int64_t i = 0; i < lineCount && i < c.size.height - 3; ++i) {
        frame.canvas.draw(lines[static_cast<std::size_t>(i)], Point{c.minX(), c.minY() + 1 + i}, frame.styles.popover);
    }
    const core::Text confirm =
        prompt.needsForce ? core::Text::deleteBranchForceConfirm() : core::Text::deleteBranchConfirm();
    DialogFrame::drawButtons(frame, {dangerConfirm(frame, confirm), DialogFrame::cancel(frame)}, c.minX(),
                             c.maxY() - 1);
}

void message(UIFrame& frame, const core::Text& title, const core::Text& body,
             const std::vector<core::FailureFix>& fixes) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const auto lines = wrap(frame.text(body), std::min<std::int64_t>(screen.width - 8, 66));
    const auto lineCount = static_cast<std::int64_t>(lines.size());
    const auto fixCount = static_cast<std::int64_t>(fixes.size());
    const std::int64_t fixRows = fixCount == 0 ? 0 : fixCount + 1;
    const Rect box = DialogFrame::centred(screen, std::min<std::int64_t>(screen.width, 76) - 4,
                                          std::min<std::int64_t>(lineCount + 6 + fixRows, screen.height - 2));
    const Rect c = DialogFrame::open(frame, box, frame.text(title));
    for (std::int64_t i = 0; i < lineCount && i < c.size.height - 3 - fixRows; ++i) {
        frame.canvas.draw(lines[static_cast<std::size_t>(i)], Point{c.minX(), c.minY() + 1 + i}, frame.styles.popover);
    }
    for (std::int64_t i = 0; i < fixCount; ++i) {
        const auto& fix = fixes[static_cast<std::size_t>(i)];
        const std::string words = terminal::TextTruncation::tail(frame.text(core::Text::failureFix(fix)),
                                                                 std::max<std::int64_t>(c.size.width - 6, 4));
        const DialogFrame::Button button{words + " " + std::to_string(i + 1),
                                         i == 0 ? DialogFrame::primary(frame.styles)
                                                : DialogFrame::secondary(frame.styles),
                                         {DialogFrame::overlayAction(OverlayAction::ApplyFix{fix})}};
        DialogFrame::drawButton(frame, button, c.minX(), c.maxY() - 2 - fixCount + i);
    }
    DialogFrame::drawButton(frame,
                            {DialogFrame::label(frame, core::Text::close(), "\u23CE"),
                             DialogFrame::secondary(frame.styles),
                             {DialogFrame::overlayAction(OverlayAction::Dismiss{})}},
                            c.minX(), c.maxY() - 1);
}

}  // namespace tarv::ui::DialogViews
