#include <algorithm>
#include <string>

#include "TarvFeatures/Overlay/ContextMenuState.hpp"
#include "TarvFeatures/Overlay/CredentialPromptState.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/TextWrapping.hpp"
#include "TarvUI/Components/DialogFrame.hpp"
#include "TarvUI/Components/DialogViews.hpp"
#include "TarvUI/Keymap/Keymap.hpp"

namespace tarv::ui::DialogViews {

using core::CredentialPrompt;
using features::OverlayAction;
using terminal::Point;
using terminal::Rect;

namespace {

core::Text explanation(const CredentialPrompt& prompt) {
    switch (prompt.kind) {
    case CredentialPrompt::Kind::username: return core::Text::credentialsUsername(prompt.subject);
    case CredentialPrompt::Kind::password: return core::Text::credentialsPassword(prompt.subject);
    case CredentialPrompt::Kind::passphrase: return core::Text::credentialsPassphrase(prompt.subject);
    case CredentialPrompt::Kind::confirmation: break;
    }
    return core::Text::credentialsConfirm(prompt.subject);
}

// The answer as drawn: a secret shows one bullet per character, with the
// cursor where it stands in the typed text.
core::EditableText shown(const features::CredentialPromptState& state) {
    if (!state.prompt.isSecret()) return state.input;
    std::string bullets;
    for (std::size_t i = 0; i < state.input.characters().size(); ++i) bullets += "\u2022";
    core::EditableText masked(bullets);
    masked.setCursor(state.input.cursor());
    return masked;
}

bool wantsTokenHint(const CredentialPrompt& prompt) {
    return prompt.kind == CredentialPrompt::Kind::password && prompt.subject &&
           prompt.subject->find("github") != std::string::npos;
}

}  // namespace

void contextMenu(UIFrame& frame, const features::ContextMenuState& menu) {
    const terminal::Size screen = frame.canvas.bounds().size;
    std::vector<std::string> titles;
    std::int64_t widest = menu.items.empty() ? 10 : 0;
    for (const auto command : menu.items) {
        titles.push_back(frame.text(core::Text::command(command)));
        widest = std::max(widest, terminal::DisplayWidth::width(titles.back()));
    }
    const std::int64_t w = std::min<std::int64_t>(widest + 14, screen.width - 2);
    const std::int64_t h = std::min<std::int64_t>(static_cast<std::int64_t>(menu.items.size()) + 2, screen.height - 2);
    const std::int64_t x = std::min(std::max<std::int64_t>(menu.anchorX, 0), std::max<std::int64_t>(screen.width - w, 0));
    const std::int64_t y =
        std::min(std::max<std::int64_t>(menu.anchorY, 0), std::max<std::int64_t>(screen.height - h - 1, 0));
    const Rect c = DialogFrame::open(frame, Rect(x, y, w, h), frame.text(core::Text::contextMenuTitle()));
    frame.viewports.picker = std::max<std::int64_t>(c.size.height, 1);
    const auto range = menu.list.visibleRange(static_cast<std::int64_t>(menu.items.size()), c.size.height);
    for (std::int64_t i = range.lowerBound; i < range.upperBound; ++i) {
        const Rect row(c.minX() - 1, c.minY() + (i - range.lowerBound), c.size.width + 2, 1);
        const terminal::Style style =
            menu.list.selected == i ? DialogFrame::highlighted(frame.styles) : frame.styles.popover;
        frame.canvas.fill(row, style);
        HitRegion region = HitRegion::pressing({DialogFrame::overlayAction(OverlayAction::Select{i}),
                                                DialogFrame::overlayAction(OverlayAction::ActivateSelection{})});
        region.scroll = HitRegion::ScrollTarget::overlayList();
        frame.hits.add(row, std::move(region));
        const auto index = static_cast<std::size_t>(i);
        frame.canvas.draw(" " + titles[index], row.origin, style, row.size.width - 6);
        if (const auto shortcut = frame.keymap.shortcut(menu.items[index])) {
            frame.canvas.drawRightAligned(*shortcut, row.maxX() - 1, row.minY(),
                                          style.with(frame.styles.theme.accent.color(), std::nullopt));
        }
    }
}

void credentials(UIFrame& frame, const features::CredentialPromptState& state) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const bool confirmation = state.prompt.kind == CredentialPrompt::Kind::confirmation;
    const Rect box = DialogFrame::centred(screen, std::min<std::int64_t>(screen.width - 2, 70),
                                          std::min<std::int64_t>(screen.height - 2, confirmation ? 11 : 12));
    const Rect c = DialogFrame::open(frame, box, frame.text(core::Text::credentialsTitle()));
    std::int64_t y = c.minY() + 1;
    for (const auto& line : terminal::TextWrapping::wrap(frame.text(explanation(state.prompt)), c.size.width)) {
        frame.canvas.draw(line, Point{c.minX(), y++}, frame.styles.popover);
    }
    if (confirmation) {
        DialogFrame::drawButtons(frame,
                                 {DialogFrame::confirm(frame, core::Text::buttonYes()),
                                  DialogFrame::cancel(frame, core::Text::buttonNo())},
                                 c.minX(), c.maxY() - 1);
        return;
    }
    DialogFrame::textField(frame, Rect(c.minX(), y + 1, c.size.width, 1), shown(state), std::nullopt);
    if (wantsTokenHint(state.prompt)) {
        std::int64_t hintY = y + 3;
        for (const auto& line : terminal::TextWrapping::wrap(frame.text(core::Text::credentialsTokenHint()), c.size.width)) {
            frame.canvas.draw(line, Point{c.minX(), hintY++}, frame.styles.popoverDim);
        }
    }
    DialogFrame::drawButtons(frame,
                             {DialogFrame::submit(frame, core::Text::buttonContinue()), DialogFrame::cancel(frame)},
                             c.minX(), c.maxY() - 1);
}

}  // namespace tarv::ui::DialogViews
