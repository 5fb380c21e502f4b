#include "TarvUI/Components/RepositoryPickerView.hpp"

#include <algorithm>
#include <string>
#include <variant>

#include "TarvFeatures/App/AppState.hpp"
#include "TarvFeatures/Repositories/RepositoryRows.hpp"
#include "TarvUI/Components/DialogFrame.hpp"
#include "TarvUI/Components/PopoverView.hpp"
#include "TarvUI/Components/RepositoryGlyph.hpp"

namespace tarv::ui::RepositoryPickerView {

using core::AppCommand;
using core::RepoGroup;
using features::AppAction;
using terminal::Point;
using terminal::Rect;

namespace {

core::Text header(const RepoGroup& group) {
    if (const auto* owner = std::get_if<RepoGroup::Kind::Owner>(&group.kind.value)) return core::Text::raw(owner->name);
    if (std::holds_alternative<RepoGroup::Kind::Recent>(group.kind.value)) return core::Text::recents();
    return core::Text::otherRepositories();
}

void footer(UIFrame& frame, const Rect& c) {
    const terminal::Style style = DialogFrame::secondary(frame.styles);
    DialogFrame::drawButtons(
        frame,
        {{DialogFrame::label(frame, core::Text::pickerAddFooter(), "\u2303O"), style,
          {AppAction(AppAction::Command{AppCommand::addRepository})}},
         {DialogFrame::label(frame, core::Text::pickerCloneFooter(), "\u2303N"), style,
          {AppAction(AppAction::Command{AppCommand::cloneRepository})}}},
        c.minX(), c.maxY() - 1);
}

void entryRow(UIFrame& frame, const features::AppState& state, const features::RepositoryPickerState& picker,
              const core::RepositoryEntry& entry, std::int64_t index, const Rect& row) {
    const terminal::Style style = DialogFrame::listRow(frame, row, index, picker.list.selected);
    frame.canvas.draw(" " + std::string(repositoryGlyph(entry)) + " " + entry.name, row.origin, style,
                      row.size.width - 3);
    if (state.workspace && state.workspace->path == entry.path) {
        const bool clean = state.workspace->status.files.empty();
        const auto& theme = frame.styles.theme;
        frame.canvas.draw(clean ? "\u2713" : "\u25CF", Point{row.maxX() - 2, row.minY()},
                          style.with((clean ? theme.success : theme.accent).color(), std::nullopt));
    }
}

}  // namespace

void draw(UIFrame& frame, const features::AppState& state, const features::RepositoryPickerState& picker,
          const WorkspaceLayout* layout) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const std::int64_t preferred =
        14 + (layout && !layout->segments.empty() ? layout->segments.front().size.width : 0);
    const Rect box(0, 2, std::min<std::int64_t>(screen.width - 2, std::max<std::int64_t>(50, preferred)),
                   std::min<std::int64_t>(screen.height - 4, 22));
    DialogFrame::backdrop(frame);
    const Rect c = PopoverView::draw(frame, box, frame.text(core::Text::repositoriesTitle()));
    if (c.size.height < 4) return;
    frame.canvas.draw("\u2315 ", c.origin, frame.styles.popoverDim);
    DialogFrame::textField(frame, Rect(c.minX() + 2, c.minY(), c.size.width - 2, 1), picker.filter,
                           frame.text(core::Text::filterPlaceholder()));
    footer(frame, c);
    const Rect list(c.minX(), c.minY() + 2, c.size.width, c.size.height - 4);
    const auto groups = features::RepositoryRows::groups(state.repositories, picker.filter.text());
    frame.viewports.picker = std::max<std::int64_t>(list.size.height - static_cast<std::int64_t>(groups.size()), 1);
    DialogFrame::listArea(frame, list);
    if (groups.empty()) {
        frame.canvas.draw(frame.text(core::Text::emptyList()), list.origin, frame.styles.popoverDim);
        return;
    }
    const terminal::Style headerStyle =
        frame.styles.popover.with(std::nullopt, std::nullopt, terminal::Attributes{terminal::Attributes::bold});
    std::int64_t base = 0;
    std::int64_t y = list.minY();
    for (const auto& group : groups) {
        if (y >= list.maxY()) break;
        const auto count = static_cast<std::int64_t>(group.entries.size());
        const std::int64_t first = std::max<std::int64_t>(picker.list.offset - base, 0);
        if (first < count) {
            frame.canvas.draw(frame.text(header(group)), Point{list.minX(), y++}, headerStyle, list.size.width);
            for (std::int64_t i = first; i < count && y < list.maxY(); ++i, ++y) {
                entryRow(frame, state, picker, group.entries[static_cast<std::size_t>(i)], base + i,
                         Rect(list.minX(), y, list.size.width, 1));
            }
        }
        base += count;
    }
}

}  // namespace tarv::ui::RepositoryPickerView
