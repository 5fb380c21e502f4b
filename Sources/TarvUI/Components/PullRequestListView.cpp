#include "TarvUI/Components/PullRequestListView.hpp"

#include <algorithm>
#include <string>
#include <variant>

#include "TarvCore/Localization/RelativeTime.hpp"
#include "TarvFeatures/App/AppState.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvUI/Components/DialogFrame.hpp"
#include "TarvUI/Components/ToolbarView.hpp"

namespace tarv::ui::PullRequestListView {

using core::AppCommand;
using features::PullRequestList;
using terminal::Point;
using terminal::Rect;

namespace {

void message(UIFrame& frame, const Rect& list, const core::Text& text, bool signInButton) {
    const std::int64_t lines = DialogFrame::drawWrapped(frame, frame.text(text), list.origin, list.size.width,
                                                        list.size.height, frame.styles.popoverDim);
    if (!signInButton || lines + 1 >= list.size.height) return;
    DialogFrame::drawButton(frame,
                            {frame.text(core::Text::command(AppCommand::signInGitHub)), frame.styles.button,
                             {features::AppAction(features::AppAction::Command{AppCommand::signInGitHub})}},
                            list.minX(), list.minY() + lines + 1);
}

std::string meta(const UIFrame& frame, const features::AppState& state, const core::PullRequest& pr) {
    std::string text = "@" + pr.author;
    if (pr.isDraft) text += " \u00B7 " + frame.text(core::Text::pullRequestDraft());
    if (pr.updatedAt >= 1) {
        text += " \u00B7 " + frame.text(core::Text::relative(core::RelativeTime::between(pr.updatedAt, state.now)));
    }
    return text;
}

void rows(UIFrame& frame, const features::AppState& state, const features::BranchPickerState& picker,
          const std::vector<core::PullRequest>& pulls, const Rect& list) {
    const Rect area(list.minX(), list.minY(), list.size.width, std::max<std::int64_t>(list.size.height - 1, 0));
    frame.viewports.picker = std::max<std::int64_t>(area.size.height, 1);
    DialogFrame::listArea(frame, area);
    const auto count = static_cast<std::int64_t>(pulls.size());
    const std::int64_t first = std::min(std::max<std::int64_t>(picker.list.offset, 0), count);
    for (std::int64_t k = 0; k < area.size.height && first + k < count; ++k) {
        const std::int64_t i = first + k;
        const auto& pr = pulls[static_cast<std::size_t>(i)];
        const Rect row(area.minX(), area.minY() + k, area.size.width, 1);
        const terminal::Style style = DialogFrame::listRow(frame, row, i, picker.list.selected);
        const std::string right = meta(frame, state, pr);
        if (const auto checks = picker.pullRequestChecks.find(pr.number); checks != picker.pullRequestChecks.end()) {
            if (const auto mark = ToolbarView::checkMark(checks->second, frame.styles, style)) {
                frame.canvas.draw(mark->glyph, Point{row.minX() + 1, row.minY()}, mark->style);
            }
        }
        frame.canvas.draw("#" + std::to_string(pr.number) + " " + pr.title, Point{row.minX() + 3, row.minY()}, style,
                          std::max<std::int64_t>(row.size.width - terminal::DisplayWidth::width(right) - 4, 1));
        frame.canvas.drawRightAligned(right, row.maxX() - 1, row.minY(),
                                      style.with(frame.styles.theme.textSecondary.color(), std::nullopt));
    }
    if (state.session) {
        frame.canvas.draw(frame.text(core::Text::signedInAs(state.session->login)), Point{list.minX(), list.maxY() - 1},
                          frame.styles.popoverDim, list.size.width);
    }
}

}  // namespace

void draw(UIFrame& frame, const features::AppState& state, const features::BranchPickerState& picker,
          const Rect& list) {
    const auto& value = picker.pullRequests.value;
    if (const auto* loaded = std::get_if<PullRequestList::Loaded>(&value)) {
        if (loaded->pullRequests.empty()) {
            message(frame, list, core::Text::pullRequestsEmpty(), false);
        } else {
            rows(frame, state, picker, loaded->pullRequests, list);
        }
    } else if (const auto* failed = std::get_if<PullRequestList::Failed>(&value)) {
        message(frame, list, failed->message, false);
    } else if (std::holds_alternative<PullRequestList::SignedOut>(value)) {
        message(frame, list, core::Text::pullRequestsSignIn(), true);
    } else if (std::holds_alternative<PullRequestList::NotGitHub>(value)) {
        message(frame, list, core::Text::pullRequestsNotGitHub(), false);
    } else {
        message(frame, list, core::Text::loading(), false);
    }
}

}  // namespace tarv::ui::PullRequestListView
