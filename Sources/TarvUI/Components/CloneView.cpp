#include "TarvUI/Components/CloneView.hpp"

#include <algorithm>
#include <string>
#include <variant>

#include "TarvFeatures/Overlay/ClonePromptState.hpp"
#include "TarvTerminal/Geometry/Layout.hpp"
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
    terminal::Layout::RowStack stack(list);
    const Rect header = stack.take();
    const Rect area = stack.rest();
    frame.canvas.draw(frame.text(matches.empty() ? core::Text::cloneNoMatches() : core::Text::cloneYourRepositories()),
                      header.origin, s.popoverDim, header.size.width);
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

// The progress or the failure in the rows left above the buttons.
void status(UIFrame& frame, const ClonePromptState& prompt, const Rect& rows) {
    if (rows.size.height <= 0) return;
    if (prompt.isCloning) {
        frame.canvas.draw(std::string(ToolbarView::spinnerFrame(frame.tick)) + " ", rows.origin, frame.styles.popover);
        frame.canvas.draw(frame.text(core::Text::cloning()), Point{rows.minX() + 2, rows.minY()}, frame.styles.popover);
    } else if (prompt.error) {
        DialogFrame::drawWrapped(frame, frame.text(*prompt.error), rows.origin, rows.size.width,
                                 std::min<std::int64_t>(2, rows.size.height), DialogFrame::error(frame.styles));
    }
}

}  // namespace

void draw(UIFrame& frame, const ClonePromptState& prompt) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const bool signedOut = std::holds_alternative<GitHubRepositoryList::SignedOut>(prompt.remote.value);
    const std::int64_t wanted =
        signedOut ? 1 : std::min<std::int64_t>(10, std::max<std::int64_t>(3, screen.height - 22)) + 2;
    const Rect box = DialogFrame::centred(screen, std::min<std::int64_t>(screen.width - 4, 80),
                                          std::min<std::int64_t>(screen.height - 2, wanted + 13));
    terminal::Layout::RowStack rows(DialogFrame::open(frame, box, frame.text(core::Text::cloneTitle())));
    const Rect buttons = rows.takeBottom();
    const ThemeStyles& s = frame.styles;
    const bool onURL = prompt.field == ClonePromptState::Field::url;
    frame.canvas.draw(frame.text(core::Text::cloneURLPrompt()), rows.take().origin, s.popoverDim);
    field(frame, rows.take(), prompt.url, onURL, std::string(urlSample));
    rows.skip();
    // The list shrinks (to a header and one row at least) before the
    // destination field would reach the buttons; below the list come a
    // blank row, the destination's label and field, a blank row, two
    // status rows and a blank row.
    const std::int64_t belowList = 7;
    const Rect list = rows.take(
        signedOut ? 1 : std::max<std::int64_t>(std::min(wanted, rows.rest().size.height - belowList), 2));
    if (signedOut) {
        frame.canvas.draw(frame.text(core::Text::cloneSignInHint()), list.origin, s.popoverDim, list.size.width);
    } else {
        repositories(frame, prompt, list);
    }
    rows.skip();
    frame.canvas.draw(frame.text(core::Text::cloneDestinationPrompt()), rows.take().origin, s.popoverDim);
    field(frame, rows.take(), prompt.destination, !onURL, std::nullopt);
    rows.skip();
    status(frame, prompt, rows.rest());
    DialogFrame::drawButtons(
        frame, {DialogFrame::submit(frame, core::Text::buttonClone()), DialogFrame::cancel(frame)}, buttons);
}

}  // namespace tarv::ui::CloneView
