#include "TarvUI/Components/CloneView.hpp"

#include <algorithm>
#include <string>
#include <variant>

#include "TarvFeatures/Overlay/ClonePromptState.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/TextWrapping.hpp"
#include "TarvUI/Components/DialogFrame.hpp"
#include "TarvUI/Components/ToolbarView.hpp"

namespace tarv::ui::CloneView {

using features::AppAction;
using features::ClonePromptState;
using features::GitHubRepositoryList;
using features::OverlayAction;
using terminal::Point;
using terminal::Rect;

namespace {

constexpr std::string_view urlSample = "owner/name  \u00B7  git@github.com:owner/name.git";

// A field of the form; a click on the one without the focus moves it there.
void field(UIFrame& frame, const Rect& rect, const core::EditableText& text, bool focused,
           std::optional<std::string> placeholder) {
    const auto cursor = frame.cursor;
    DialogFrame::textField(frame, rect, text, placeholder);
    if (!focused) {
        frame.cursor = cursor;
        frame.hits.add(rect, HitRegion::pressing({AppAction(OverlayAction::SwitchCloneField{})}));
    }
}

void rows(UIFrame& frame, const ClonePromptState& prompt, const std::vector<core::GitHubRepository>& matches,
          const Rect& list) {
    const ThemeStyles& s = frame.styles;
    frame.canvas.draw(frame.text(matches.empty() ? core::Text::cloneNoMatches() : core::Text::cloneYourRepositories()),
                      list.origin, s.popoverDim, list.size.width);
    const Rect area(list.minX(), list.minY() + 1, list.size.width, std::max<std::int64_t>(list.size.height - 1, 0));
    frame.viewports.picker = std::max<std::int64_t>(area.size.height, 1);
    DialogFrame::listArea(frame, area);
    const auto range = prompt.list.visibleRange(static_cast<std::int64_t>(matches.size()), area.size.height);
    for (std::int64_t i = range.lowerBound; i < range.upperBound; ++i) {
        const auto& repository = matches[static_cast<std::size_t>(i)];
        const Rect row(area.minX(), area.minY() + (i - range.lowerBound), area.size.width, 1);
        const terminal::Style style =
            prompt.list.selected == i ? DialogFrame::highlighted(s) : s.popover;
        frame.canvas.fill(row, style);
        HitRegion region = HitRegion::pressing({AppAction(OverlayAction::Select{i})});
        region.doublePress = {AppAction(OverlayAction::Select{i}), AppAction(OverlayAction::Submitted{})};
        region.scroll = HitRegion::ScrollTarget::overlayList();
        frame.hits.add(row, std::move(region));
        const std::string label =
            frame.text(repository.isPrivate ? core::Text::repositoryPrivate() : core::Text::repositoryPublic());
        const std::string glyph = repository.isPrivate ? "\U0001F512" : "\U0001F310";
        frame.canvas.draw(" " + glyph + " " + repository.fullName, row.origin, style,
                          std::max<std::int64_t>(row.size.width - terminal::DisplayWidth::width(label) - 2, 1));
        frame.canvas.drawRightAligned(label, row.maxX() - 1, row.minY(),
                                      style.with(s.theme.textSecondary.color(), std::nullopt));
    }
}

void repositories(UIFrame& frame, const ClonePromptState& prompt, const Rect& list) {
    const auto& remote = prompt.remote.value;
    if (const auto* failed = std::get_if<GitHubRepositoryList::Failed>(&remote)) {
        DialogFrame::drawWrapped(frame, frame.text(failed->message), list.origin, list.size.width, list.size.height,
                                 DialogFrame::error(frame.styles));
    } else if (std::holds_alternative<GitHubRepositoryList::Loading>(remote)) {
        frame.canvas.draw(frame.text(core::Text::cloneLoadingRepositories()), list.origin, frame.styles.popoverDim,
                          list.size.width);
    } else if (std::holds_alternative<GitHubRepositoryList::Loaded>(remote)) {
        rows(frame, prompt, prompt.matches(), list);
    }
}

void status(UIFrame& frame, const ClonePromptState& prompt, const Rect& c, std::int64_t y) {
    const std::int64_t lastRow = c.maxY() - 2;  // the row above the buttons
    if (y > lastRow) return;
    if (prompt.isCloning) {
        frame.canvas.draw(std::string(ToolbarView::spinnerFrame(frame.tick)) + " ", Point{c.minX(), y},
                          frame.styles.popover);
        frame.canvas.draw(frame.text(core::Text::cloning()), Point{c.minX() + 2, y}, frame.styles.popover);
    } else if (prompt.error) {
        DialogFrame::drawWrapped(frame, frame.text(*prompt.error), Point{c.minX(), y}, c.size.width,
                                 std::min<std::int64_t>(2, lastRow - y + 1), DialogFrame::error(frame.styles));
    }
}

}  // namespace

void draw(UIFrame& frame, const ClonePromptState& prompt) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const bool signedOut = std::holds_alternative<GitHubRepositoryList::SignedOut>(prompt.remote.value);
    const std::int64_t wanted =
        signedOut ? 1 : std::min<std::int64_t>(10, std::max<std::int64_t>(3, screen.height - 22)) + 2;
    const std::int64_t w = std::min<std::int64_t>(screen.width - 4, 80);
    const std::int64_t h = std::min<std::int64_t>(screen.height - 2, wanted + 13);
    const Rect box(std::max<std::int64_t>((screen.width - w) / 2, 0), std::max<std::int64_t>((screen.height - h) / 2, 0),
                   w, h);
    const Rect c = DialogFrame::open(frame, box, frame.text(core::Text::cloneTitle()));
    // The list shrinks (to a header and one row at least) before the
    // destination field would reach the buttons.
    const std::int64_t listRows = signedOut ? 1 : std::max<std::int64_t>(std::min(wanted, c.size.height - 11), 2);
    const ThemeStyles& s = frame.styles;
    const bool onURL = prompt.field == ClonePromptState::Field::url;
    frame.canvas.draw(frame.text(core::Text::cloneURLPrompt()), c.origin, s.popoverDim);
    field(frame, Rect(c.minX(), c.minY() + 1, c.size.width, 1), prompt.url, onURL, std::string(urlSample));
    const Rect list(c.minX(), c.minY() + 3, c.size.width, listRows);
    if (signedOut) {
        frame.canvas.draw(frame.text(core::Text::cloneSignInHint()), list.origin, s.popoverDim, c.size.width);
    } else {
        repositories(frame, prompt, list);
    }
    frame.canvas.draw(frame.text(core::Text::cloneDestinationPrompt()), Point{c.minX(), list.maxY() + 1}, s.popoverDim);
    field(frame, Rect(c.minX(), list.maxY() + 2, c.size.width, 1), prompt.destination, !onURL, std::nullopt);
    status(frame, prompt, c, list.maxY() + 4);
    DialogFrame::drawButtons(frame,
                             {{DialogFrame::label(frame, core::Text::buttonClone(), "\u23CE"), s.button,
                               {AppAction(OverlayAction::Submitted{})}},
                              {DialogFrame::label(frame, core::Text::cancel(), "Esc"), DialogFrame::secondary(s),
                               {AppAction(OverlayAction::Dismiss{})}}},
                             c.minX(), c.maxY() - 1);
}

}  // namespace tarv::ui::CloneView
