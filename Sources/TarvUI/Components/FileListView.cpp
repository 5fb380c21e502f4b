#include "TarvUI/Components/FileListView.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "TarvFeatures/Workspace/WorkspaceState.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/TextSlicing.hpp"
#include "TarvTerminal/Text/TextTruncation.hpp"
#include "TarvTerminal/Text/TextWrapping.hpp"
#include "TarvTerminal/Widgets/ScrollBar.hpp"

namespace tarv::ui::FileListView {

using core::AppCommand;
using core::ChangeKind;
using features::AppAction;
using features::WorkspaceAction;
using terminal::Point;
using terminal::Rect;
using terminal::Style;

namespace {

struct Glyph {
    std::string_view text;
    ThemeColor color;
};

Style onSurface(const ThemeStyles& s, const Style& style) { return style.with(std::nullopt, s.theme.surface.color()); }

Glyph includeGlyph(const features::ChangesState& changes, const features::VisibleFiles& rows, const std::string& path,
                   const Theme& t) {
    const bool included = rows.isIncluded(path);
    const ThemeColor color = included ? t.accent : t.textSecondary;
    if (changes.partial.contains(path)) return {"\u25EA", color};  // ◪
    return {included ? "\u2611" : "\u2610", color};                // ☑ ☐
}

Glyph kindGlyph(const features::ChangesState& changes, const core::FileChange& file, const Theme& t) {
    switch (file.kind) {
        case ChangeKind::modified:
        case ChangeKind::typeChanged: return {"\u25FC", t.warning};  // ◼
        case ChangeKind::added:
        case ChangeKind::untracked: return {"\u271A", t.success};  // ✚
        case ChangeKind::deleted: return {"\u2716", t.danger};     // ✖
        case ChangeKind::renamed: return {"\u279C", t.accent};     // ➜
        case ChangeKind::copied: return {"\u29C9", t.accent};      // ⧉
        case ChangeKind::conflicted: {
            const auto document = changes.conflicts.find(file.path);
            if (document != changes.conflicts.end() && !document->second.hasConflicts()) return {"\u2713", t.success};
            return {"!", t.danger};
        }
    }
    return {"\u25FC", t.warning};
}

const std::vector<AppCommand>& contextItems(ChangeKind kind) {
    static const std::vector<AppCommand> conflicted = {AppCommand::resolveMine,    AppCommand::resolveTheirs,
                                                       AppCommand::markResolved,   AppCommand::copyPath,
                                                       AppCommand::revealInFinder, AppCommand::openInEditor,
                                                       AppCommand::openInVim};
    static const std::vector<AppCommand> other = {AppCommand::discardSelected, AppCommand::ignoreFile,
                                                  AppCommand::copyPath,        AppCommand::revealInFinder,
                                                  AppCommand::openInEditor,    AppCommand::openInVim};
    return kind == ChangeKind::conflicted ? conflicted : other;
}

// A row's region: the include box in its first three columns, the name in
// the rest. Its actions are made on demand from the path (and, for the name,
// the kind of change).
void makeRowActions(HitRegion& region, const HitRegion::Deferred& from, Point at) {
    const std::string& path = from.path;
    if (at.x < from.origin.x + 3) {
        region.press = actions(WorkspaceAction::ToggleInclude{path});
        region.scroll.reset();  // the list's own region scrolls it
        return;
    }
    region.press = actions(WorkspaceAction::SetFilterFocused{false}, WorkspaceAction::SelectFile{path});
    region.doublePress = actions(WorkspaceAction::SelectFile{path}, AppAction::Command{AppCommand::openInEditor});
    region.context = HitRegion::Context{actions(WorkspaceAction::SelectFile{path}),
                                        contextItems(static_cast<ChangeKind>(from.kind)), std::nullopt};
}

HitRegion rowRegion(const core::FileChange& file, Point origin) {
    HitRegion region;
    region.scroll = HitRegion::ScrollTarget::pane(features::Pane::files);
    region.deferred = HitRegion::Deferred{makeRowActions, origin, 0, {}, file.path, static_cast<int>(file.kind)};
    return region;
}

void drawEmpty(UIFrame& frame, const features::WorkspaceState& ws, const Rect& rect) {
    const Style dim = onSurface(frame.styles, frame.styles.dim);
    const auto message = ws.isStatusLoaded ? core::Text::noLocalChanges() : core::Text::loading();
    frame.canvas.draw(frame.text(message), Point{rect.minX() + 2, rect.minY() + 1}, dim, rect.size.width - 3);
    if (!ws.isStatusLoaded) return;
    const auto lines = terminal::TextWrapping::wrap(frame.text(core::Text::noLocalChangesHint()),
                                                    std::max<std::int64_t>(rect.size.width - 4, 1));
    for (std::size_t i = 0; i < lines.size() && static_cast<std::int64_t>(i) + 3 < rect.size.height; ++i) {
        frame.canvas.draw(lines[i], Point{rect.minX() + 2, rect.minY() + 3 + static_cast<std::int64_t>(i)}, dim);
    }
}

// The path as shown in `width` columns: itself when it fits (no copy),
// otherwise cut in the middle into `cut`.
std::string_view shownPath(const std::string& path, std::int64_t width, std::string& cut) {
    if (terminal::DisplayWidth::width(path) <= width) return path;
    cut = terminal::TextTruncation::middle(path, width, std::nullopt);
    return cut;
}

void drawRow(UIFrame& frame, const features::ChangesState& changes, const features::VisibleFiles& rows,
             const core::FileChange& file, const Style& row, std::int64_t x, std::int64_t y, std::int64_t width) {
    const Theme& t = frame.styles.theme;
    frame.canvas.fill(Rect(x, y, width, 1), row);
    const Glyph include = includeGlyph(changes, rows, file.path, t);
    frame.canvas.draw(include.text, Point{x + 1, y}, row.with(include.color.color(), std::nullopt));

    // Control characters in the name stay visible ("a<LF>b" is not "ab").
    const std::string name = terminal::TextSlicing::withVisibleControls(file.path);
    std::string cut;
    const std::string_view shown = shownPath(name, std::max<std::int64_t>(width - 6, 1), cut);
    std::int64_t at = x + 3;
    const std::size_t slash = shown.rfind('/');
    if (slash != std::string_view::npos) {
        at += frame.canvas.draw(shown.substr(0, slash + 1), Point{at, y}, row.with(t.textSecondary.color(), std::nullopt));
        frame.canvas.draw(shown.substr(slash + 1), Point{at, y}, row);
    } else {
        frame.canvas.draw(shown, Point{at, y}, row);
    }

    const Glyph kind = kindGlyph(changes, file, t);
    frame.canvas.draw(kind.text, Point{x + width - 2, y}, row.with(kind.color.color(), std::nullopt));
    frame.hits.add(Rect(x, y, std::max<std::int64_t>(width, 3), 1), rowRegion(file, Point{x, y}));
}

}  // namespace

Rect listRect(const Rect& rect) {
    return Rect(rect.minX(), rect.minY() + 3, rect.size.width, std::max<std::int64_t>(rect.size.height - 3, 0));
}

Rect drawHeader(UIFrame& frame, const features::WorkspaceState& ws, const Rect& rect) {
    const ThemeStyles& s = frame.styles;
    const auto& changes = ws.changes;
    frame.canvas.withClip(rect, [&](terminal::Canvas& canvas) {
        const Rect field(rect.minX() + 1, rect.minY(), std::max<std::int64_t>(rect.size.width - 2, 0), 1);
        canvas.draw("\u2315 ", field.origin, onSurface(s, s.dim));
        const Rect input(field.minX() + 2, field.minY(), std::max<std::int64_t>(field.size.width - 2, 0), 1);
        canvas.fill(input, s.field);
        if (!changes.filter.isEmpty()) {
            const auto slice = UIFrame::visibleSlice(changes.filter, input.size.width);
            canvas.draw(slice.text, input.origin, s.field, input.size.width);
            if (changes.isFilterFocused) frame.cursor = Point{input.minX() + slice.cursorColumn, input.minY()};
        } else {
            canvas.draw(frame.text(core::Text::filterPlaceholder()), input.origin, s.placeholder, input.size.width);
            if (changes.isFilterFocused) frame.cursor = input.origin;
        }
        frame.hits.add(input, HitRegion::pressing(actions(WorkspaceAction::SetFilterFocused{true})));

        const auto rows = ws.changes.visibleFiles(ws.status);
        const std::int64_t y = rect.minY() + 1;
        const auto inclusion = rows.inclusion();
        const std::string_view box = inclusion == features::VisibleFiles::Inclusion::all    ? "\u2611"
                                     : inclusion == features::VisibleFiles::Inclusion::some ? "\u25EA"
                                                                                 : "\u2610";
        canvas.draw(box, Point{rect.minX() + 1, y}, Style{s.theme.accent.color(), s.theme.surface.color(), {}});
        canvas.draw(frame.text(core::Text::changedFiles(rows.size())), Point{rect.minX() + 3, y}, onSurface(s, s.bold),
                    rect.size.width - 4);
        frame.hits.add(Rect(rect.minX(), y, rect.size.width, 1), HitRegion::pressing(actions(WorkspaceAction::ToggleAll{})));
        canvas.horizontalLine(rect.minY() + 2, rect.minX(), rect.size.width, onSurface(s, s.border));
    });
    return listRect(rect);
}

void draw(UIFrame& frame, const features::WorkspaceState& ws, const Rect& rect, bool focused) {
    frame.viewports.fileList = std::max<std::int64_t>(rect.size.height, 1);
    if (rect.size.height < 1) return;
    const ThemeStyles& s = frame.styles;
    frame.hits.add(rect, HitRegion::scrolling(features::Pane::files));
    frame.canvas.withClip(rect, [&](terminal::Canvas& canvas) {
        const auto rows = ws.changes.visibleFiles(ws.status);
        if (rows.empty()) {
            canvas.fill(rect, s.surface);
            drawEmpty(frame, ws, rect);
            return;
        }
        const auto& list = ws.changes.list;
        const auto range = list.visibleRange(rows.size(), rect.size.height);
        const bool scrolls = rows.size() > rect.size.height;
        const std::int64_t width = scrolls ? rect.size.width - 1 : rect.size.width;
        for (std::int64_t index = range.lowerBound; index < range.upperBound; ++index) {
            const std::int64_t y = rect.minY() + (index - range.lowerBound);
            const bool selected = list.selected == index;
            const Style& row = selected ? (focused ? s.selectedFocused : s.selected) : s.surface;
            drawRow(frame, ws.changes, rows, rows[index], row, rect.minX(), y, width);
        }
        const std::int64_t end = rect.minY() + (range.upperBound - range.lowerBound);
        canvas.fill(Rect(rect.minX(), end, rect.size.width, rect.maxY() - end), s.surface);
        if (scrolls) {
            terminal::ScrollBar::draw(canvas, rect.maxX() - 1, rect.minY(), rect.size.height, list.offset, rows.size(),
                                      rect.size.height, onSurface(s, s.border), onSurface(s, s.dim));
        }
    });
}

}  // namespace tarv::ui::FileListView
