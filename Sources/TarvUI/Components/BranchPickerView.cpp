#include "TarvUI/Components/BranchPickerView.hpp"

#include <algorithm>
#include <string>

#include "TarvCore/Localization/RelativeTime.hpp"
#include "TarvFeatures/App/AppState.hpp"
#include "TarvFeatures/Branches/BranchRows.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/TextTruncation.hpp"
#include "TarvUI/Components/DialogFrame.hpp"
#include "TarvUI/Components/PopoverView.hpp"
#include "TarvUI/Components/PullRequestListView.hpp"

namespace tarv::ui::BranchPickerView {

using core::AppCommand;
using features::AppAction;
using features::BranchPickerState;
using features::OverlayAction;
using terminal::DisplayWidth::width;
using terminal::Point;
using terminal::Rect;
using Mode = BranchPickerState::Mode;
using Tab = BranchPickerState::Tab;

namespace {

AppAction command(AppCommand c) { return AppAction(AppAction::Command{c}); }

core::Text title(Mode mode, const std::string& current) {
    switch (mode) {
    case Mode::merge: return core::Text::mergeIntoTitle(current);
    case Mode::rebase: return core::Text::rebaseOntoTitle(current);
    case Mode::deleteBranch: return core::Text::deleteBranchPickerTitle();
    case Mode::switchBranch: break;
    }
    return core::Text::branchesTitle();
}

void tabs(UIFrame& frame, const BranchPickerState& picker, const Rect& inner) {
    const ThemeStyles& s = frame.styles;
    const terminal::Style active = s.popoverBorder.with(
        std::nullopt, std::nullopt, terminal::Attributes{terminal::Attributes::bold, terminal::Attributes::underline});
    const std::string branches = frame.text(core::Text::branchesTitle());
    const std::string pulls = frame.text(core::Text::pullRequestsTitle());
    const Point first = inner.origin;
    const Point second{inner.minX() + width(branches) + 3, inner.minY()};
    frame.canvas.draw(branches, first, picker.tab == Tab::branches ? active : s.popoverDim);
    frame.canvas.draw(pulls, second, picker.tab == Tab::pullRequests ? active : s.popoverDim);
    frame.hits.add(Rect(first, terminal::Size{width(branches), 1}),
                   HitRegion::pressing({AppAction(OverlayAction::SetBranchTab{Tab::branches})}));
    frame.hits.add(Rect(second, terminal::Size{width(pulls), 1}),
                   HitRegion::pressing({AppAction(OverlayAction::SetBranchTab{Tab::pullRequests})}));
}

void filterLine(UIFrame& frame, const BranchPickerState& picker, const Rect& inner) {
    const std::int64_t y = inner.minY() + 1;
    frame.canvas.draw("\u2315 ", Point{inner.minX(), y}, frame.styles.popoverDim);
    const std::string label = frame.text(core::Text::newBranchTitle());
    const std::int64_t buttonWidth = DialogFrame::buttonWidth(label);
    DialogFrame::drawButton(frame, {label, DialogFrame::secondary(frame.styles), {command(AppCommand::newBranch)}},
                            inner.maxX() - buttonWidth, y);
    const Rect field(inner.minX() + 2, y, std::max<std::int64_t>(inner.size.width - 3 - buttonWidth, 1), 1);
    const auto cursor = frame.cursor;
    DialogFrame::textField(frame, field, picker.filter, frame.text(core::Text::filterPlaceholder()));
    if (picker.tab != Tab::branches) frame.cursor = cursor;
}

void footer(UIFrame& frame, const std::string& current, const Rect& inner) {
    frame.canvas.horizontalLine(inner.maxY() - 3, inner.minX(), inner.size.width, frame.styles.popoverDim);
    const std::int64_t words = inner.size.width - 6;
    const auto button = [&](std::string_view glyph, const core::Text& text, AppCommand c, std::int64_t y) {
        const std::string label = std::string(glyph) + terminal::TextTruncation::tail(frame.text(text), words);
        DialogFrame::drawButton(frame, {label, DialogFrame::secondary(frame.styles), {command(c)}}, inner.minX(), y);
    };
    button("\u2442 ", core::Text::mergePickerButton(current), AppCommand::mergeBranch, inner.maxY() - 2);
    button("\u2934 ", core::Text::rebasePickerButton(current), AppCommand::rebaseBranch, inner.maxY() - 1);
}

void branchRow(UIFrame& frame, const features::AppState& state, const BranchPickerState& picker,
               const core::Branch& branch, std::int64_t index, const Rect& row) {
    const terminal::Style style = DialogFrame::listRow(frame, row, index, picker.list.selected);
    if (picker.mode == Mode::switchBranch && !branch.isRemote) {
        HitRegion region = HitRegion::pressing({AppAction(OverlayAction::Select{index}),
                                                AppAction(OverlayAction::ActivateSelection{})});
        region.scroll = HitRegion::ScrollTarget::overlayList();
        region.context = HitRegion::Context{
            {AppAction(OverlayAction::Select{index})},
            branch.isCurrent ? std::vector<AppCommand>{AppCommand::renameBranch, AppCommand::createPullRequest}
                             : std::vector<AppCommand>{AppCommand::renameBranch, AppCommand::deleteBranch},
            branch.name};
        frame.hits.add(row, std::move(region));
    }
    const std::string date =
        branch.lastCommitTimestamp >= 1
            ? frame.text(core::Text::relative(core::RelativeTime::between(branch.lastCommitTimestamp, state.now)))
            : std::string();
    const std::string label = std::string(" ") + (branch.isCurrent ? "\u2713" : "\u2387") + " " + branch.name;
    frame.canvas.draw(label, row.origin, style, std::max<std::int64_t>(row.size.width - width(date) - 2, 1));
    frame.canvas.drawRightAligned(date, row.maxX() - 1, row.minY(),
                                  style.with(frame.styles.theme.textSecondary.color(), std::nullopt));
}

void branchList(UIFrame& frame, const features::AppState& state, const BranchPickerState& picker, const Rect& list) {
    const auto sections = features::BranchRows::sections(state.workspace->branches, picker.filter.text());
    frame.viewports.picker =
        std::max<std::int64_t>(list.size.height - static_cast<std::int64_t>(sections.size()), 1);
    DialogFrame::listArea(frame, list);
    if (sections.empty()) {
        frame.canvas.draw(frame.text(core::Text::emptyList()), list.origin, frame.styles.popoverDim);
        return;
    }
    const terminal::Style titleStyle =
        frame.styles.popover.with(std::nullopt, std::nullopt, terminal::Attributes{terminal::Attributes::bold});
    std::int64_t base = 0;
    std::int64_t y = list.minY();
    for (const auto& section : sections) {
        if (y >= list.maxY()) break;
        const auto count = static_cast<std::int64_t>(section.branches.size());
        const std::int64_t firstVisible = std::max<std::int64_t>(picker.list.offset - base, 0);
        if (firstVisible < count) {
            frame.canvas.draw(frame.text(section.title), Point{list.minX(), y++}, titleStyle, list.size.width);
            for (std::int64_t k = firstVisible; k < count && y < list.maxY(); ++k, ++y) {
                branchRow(frame, state, picker, section.branches[static_cast<std::size_t>(k)], base + k,
                          Rect(list.minX(), y, list.size.width, 1));
            }
        }
        base += count;
    }
}

}  // namespace

void draw(UIFrame& frame, const features::AppState& state, const BranchPickerState& picker,
          const WorkspaceLayout& layout) {
    if (!state.workspace) return;
    const terminal::Size screen = frame.canvas.bounds().size;
    const Rect segment = layout.segments.size() > 1 ? layout.segments[1] : Rect();
    const std::int64_t x = std::min(segment.minX(), std::max<std::int64_t>(screen.width - 54, 0));
    const Rect box(x, 2, std::min<std::int64_t>(screen.width - x - 1, std::max<std::int64_t>(segment.size.width + 20, 54)),
                   std::min<std::int64_t>(screen.height - 4, 22));
    const std::string current = state.workspace->currentBranch();
    DialogFrame::backdrop(frame);
    const Rect inner = PopoverView::draw(frame, box, frame.text(title(picker.mode, current)));
    if (inner.size.height < 5) return;
    tabs(frame, picker, inner);
    filterLine(frame, picker, inner);
    const bool hasFooter =
        picker.mode == Mode::switchBranch && picker.tab == Tab::branches && inner.size.height >= 10;
    if (hasFooter) footer(frame, current, inner);
    const Rect list(inner.minX(), inner.minY() + 3, inner.size.width,
                    std::max<std::int64_t>(inner.size.height - 3 - (hasFooter ? 3 : 0), 0));
    if (picker.tab == Tab::pullRequests) {
        PullRequestListView::draw(frame, state, picker, list);
        return;
    }
    branchList(frame, state, picker, list);
}

}  // namespace tarv::ui::BranchPickerView
