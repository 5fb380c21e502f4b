#include "TarvUI/Components/CommitBoxView.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "TarvFeatures/Workspace/WorkspaceState.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/TextTruncation.hpp"

namespace tarv::ui::CommitBoxView {

using core::AppCommand;
using features::AppAction;
using features::WorkspaceAction;
using features::WorkspaceFocus;
using terminal::Point;
using terminal::Rect;
using terminal::Style;

namespace {

std::string buttonLabel(const UIFrame& frame, const features::WorkspaceState& ws) {
    if (ws.isCommitting) return frame.text(core::Text::committing());
    if (ws.hasUnresolvedConflicts()) return frame.text(core::Text::resolveConflictsFirst());
    const auto& operation = ws.status.operation;
    if (!operation) {
        if (ws.isAmending) return frame.text(core::Text::amendButton(ws.currentBranch()));
        if (!ws.isStatusLoaded) return "Commit";
        return frame.text(core::Text::commitButton(ws.includedCount(), ws.currentBranch()));
    }
    if (*operation == core::RepositoryOperation::merge) return frame.text(core::Text::completeMerge(ws.currentBranch()));
    return frame.text(core::Text::continueOperationLabel(*operation));
}

HitRegion focusing(WorkspaceFocus focus) { return HitRegion::pressing(actions(WorkspaceAction::Focus{focus})); }

void drawSummary(UIFrame& frame, const features::WorkspaceState& ws, const Rect& inner) {
    const ThemeStyles& s = frame.styles;
    frame.canvas.draw("\u25D4", inner.origin, Style{s.theme.accent.color(), s.theme.surface.color(), {}});
    const Rect field(inner.minX() + 2, inner.minY(), inner.size.width - 2, 1);
    frame.canvas.fill(field, s.field);
    const bool focused = ws.focus == WorkspaceFocus::summary;
    if (!ws.summary.isEmpty()) {
        const auto slice = UIFrame::visibleSlice(ws.summary, field.size.width);
        frame.canvas.draw(slice.text, field.origin, s.field, field.size.width);
        if (focused) frame.cursor = Point{field.minX() + slice.cursorColumn, field.minY()};
    } else {
        frame.canvas.draw(frame.text(core::Text::summaryPlaceholder()), field.origin, s.placeholder, field.size.width);
        if (focused) frame.cursor = field.origin;
    }
    frame.hits.add(field, focusing(WorkspaceFocus::summary));
}

// The description's lines, scrolled so that the cursor's line is the last
// visible one or above it; only the cursor's line scrolls sideways.
void drawDescriptionText(UIFrame& frame, const features::WorkspaceState& ws, const Rect& area) {
    const ThemeStyles& s = frame.styles;
    const bool focused = ws.focus == WorkspaceFocus::description;
    if (ws.description.isEmpty()) {
        frame.canvas.draw(frame.text(core::Text::descriptionPlaceholder()), area.origin, s.placeholder, area.size.width);
        if (focused) frame.cursor = area.origin;
        return;
    }
    const auto position = ws.description.cursorPosition();
    const std::vector<std::string> lines = ws.description.lines();
    const std::int64_t first = std::max<std::int64_t>(0, position.row - area.size.height + 1);
    for (std::int64_t i = 0; i < area.size.height && first + i < static_cast<std::int64_t>(lines.size()); ++i) {
        const std::string& line = lines[static_cast<std::size_t>(first + i)];
        const Point at{area.minX(), area.minY() + i};
        if (first + i != position.row) {
            frame.canvas.draw(line, at, s.field, area.size.width);
            continue;
        }
        core::EditableText single(line);
        single.setCursor(position.column);
        const auto slice = UIFrame::visibleSlice(single, area.size.width);
        frame.canvas.draw(slice.text, at, s.field, area.size.width);
        if (focused) frame.cursor = Point{area.minX() + slice.cursorColumn, at.y};
    }
}

void drawDescription(UIFrame& frame, const features::WorkspaceState& ws, const Rect& box, std::int64_t height) {
    const ThemeStyles& s = frame.styles;
    const Style boxStyle = ws.focus == WorkspaceFocus::description
                               ? s.accent.with(std::nullopt, s.theme.surface.color())
                               : s.border.with(std::nullopt, s.theme.surface.color());
    frame.canvas.box(box, boxStyle, std::nullopt);
    const bool hasCoAuthorLine = !ws.coAuthors.empty() && height != 3;
    const Rect area(box.minX() + 1, box.minY() + 1, box.size.width - 2, box.size.height - 2 - (hasCoAuthorLine ? 1 : 0));
    frame.canvas.fill(area, s.field);
    frame.hits.add(area, focusing(WorkspaceFocus::description));
    if (area.size.width >= 1 && area.size.height >= 1) {
        frame.canvas.withClip(area, [&](terminal::Canvas&) { drawDescriptionText(frame, ws, area); });
    }
    if (!hasCoAuthorLine) return;
    std::vector<std::string> names;
    names.reserve(ws.coAuthors.size());
    for (const auto& author : ws.coAuthors) names.push_back(author.name);
    const Rect line(box.minX() + 1, box.maxY() - 2, box.size.width - 2, 1);
    frame.canvas.draw("+ " + frame.text(core::Text::coAuthorsLine(std::move(names))), line.origin,
                      s.dim.with(std::nullopt, s.theme.surface.color()), box.size.width - 2);
    frame.hits.add(line, HitRegion::pressing(actions(AppAction::Command{AppCommand::addCoAuthor})));
}

void drawButton(UIFrame& frame, const features::WorkspaceState& ws, const Rect& row) {
    const Style& style = ws.canCommit() ? frame.styles.button : frame.styles.buttonDisabled;
    frame.canvas.fill(row, style);
    const std::string label = terminal::TextTruncation::tail(buttonLabel(frame, ws), row.size.width - 2);
    const std::int64_t labelWidth = terminal::DisplayWidth::width(label);
    frame.canvas.draw(label, Point{row.minX() + (row.size.width - labelWidth) / 2, row.minY()}, style);
    frame.hits.add(row, HitRegion::pressing(actions(AppAction::Command{AppCommand::commit})));
}

}  // namespace

void draw(UIFrame& frame, const features::WorkspaceState& ws, const Rect& rect) {
    const ThemeStyles& s = frame.styles;
    frame.canvas.withClip(rect, [&](terminal::Canvas& canvas) {
        canvas.fill(rect, s.surface);
        canvas.horizontalLine(rect.minY(), rect.minX(), rect.size.width, s.border.with(std::nullopt, s.theme.surface.color()));
        const Rect inner(rect.minX() + 1, rect.minY() + 1, std::max<std::int64_t>(0, rect.size.width - 2),
                         std::max<std::int64_t>(0, rect.size.height - 1));
        if (inner.size.width < 7) return;
        drawSummary(frame, ws, inner);
        const std::int64_t height = (rect.maxY() - 1) - (inner.minY() + 1);
        if (height > 2) drawDescription(frame, ws, Rect(inner.minX(), inner.minY() + 1, inner.size.width, height), height);
        drawButton(frame, ws, Rect(inner.minX(), rect.maxY() - 1, inner.size.width, 1));
    });
}

}  // namespace tarv::ui::CommitBoxView
