#include "TarvUI/Screens/WorkspaceScreen.hpp"

#include <algorithm>
#include <string>

#include "TarvFeatures/App/AppState.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/TextSlicing.hpp"
#include "TarvTerminal/Text/TextTruncation.hpp"
#include "TarvUI/Components/CommitBoxView.hpp"
#include "TarvUI/Components/ConflictView.hpp"
#include "TarvUI/Components/DiffView.hpp"
#include "TarvUI/Components/FileListView.hpp"
#include "TarvUI/Components/HintBar.hpp"
#include "TarvUI/Components/HistoryViews.hpp"
#include "TarvUI/Components/OperationBannerView.hpp"
#include "TarvUI/Components/ToolbarView.hpp"

namespace tarv::ui::WorkspaceScreen {

using core::AppCommand;
using features::AppAction;
using features::WorkspaceFocus;
using features::WorkspaceState;
using features::WorkspaceTab;
using terminal::DisplayWidth::width;
using terminal::Point;
using terminal::Rect;
using terminal::Style;

namespace {

void drawTabs(UIFrame& frame, const WorkspaceState& ws, const WorkspaceLayout& layout) {
    const ThemeStyles& s = frame.styles;
    const Rect& tabs = layout.tabs;
    frame.canvas.fill(tabs, s.surface);
    const auto labelStyle = [&](WorkspaceTab tab) {
        return ws.tab == tab ? s.surface.with(s.theme.textPrimary.color(), std::nullopt,
                                              terminal::Attributes{terminal::Attributes::bold, terminal::Attributes::underline})
                             : s.surface.with(s.theme.textSecondary.color(), std::nullopt);
    };
    const std::int64_t y = tabs.minY();
    const std::string changes =
        frame.text(core::Text::tabChanges(static_cast<std::int64_t>(ws.status.files.size())));
    const std::string history = frame.text(core::Text::tabHistory());
    frame.canvas.draw(changes, Point{tabs.minX() + 1, y}, labelStyle(WorkspaceTab::changes));
    frame.hits.add(Rect(tabs.minX(), y, width(changes) + 2, 1),
                   HitRegion::pressing(actions(AppAction::Command{AppCommand::showChanges})));
    const std::int64_t historyX = tabs.minX() + 1 + width(changes) + 3;
    frame.canvas.draw(history, Point{historyX, y}, labelStyle(WorkspaceTab::history));
    frame.hits.add(Rect(historyX - 1, y, width(history) + 2, 1),
                   HitRegion::pressing(actions(AppAction::Command{AppCommand::showHistory})));
    if (layout.sidebar) {
        const std::int64_t from = layout.sidebar->maxX();
        frame.canvas.horizontalLine(y, from, std::max<std::int64_t>(tabs.maxX() - from, 0), s.border, " ");
    }
}

void drawSeparators(UIFrame& frame, const WorkspaceLayout& layout) {
    if (!layout.main) return;
    const std::int64_t top = layout.tabs.maxY();
    const std::int64_t length = std::max<std::int64_t>(layout.hint.minY() - top, 0);
    const std::int64_t lastColumn = frame.canvas.bounds().size.width - 1;
    for (const auto& pane : {layout.sidebar, layout.middle}) {
        if (pane && pane->maxX() < lastColumn) frame.canvas.verticalLine(pane->maxX(), top, length, frame.styles.border);
    }
}

std::int64_t commitBoxHeight(std::int64_t sidebarHeight) {
    if (sidebarHeight >= 18) return 8;
    if (sidebarHeight >= 13) return 7;
    return 4;
}

void drawChangesSidebar(UIFrame& frame, const WorkspaceState& ws, const Rect& sidebar) {
    const std::int64_t boxHeight = commitBoxHeight(sidebar.size.height);
    Rect list(sidebar.minX(), sidebar.minY(), sidebar.size.width,
              std::max<std::int64_t>(sidebar.size.height - boxHeight, 0));
    const bool banner = ws.status.operation && list.size.height > 5;
    if (banner) list = Rect(list.minX(), list.minY() + 2, list.size.width, list.size.height - 2);
    // The file rows paint themselves; each cell is painted once.
    const Rect rows = FileListView::listRect(list);
    const std::int64_t above = std::min(rows.minY(), sidebar.maxY());
    const std::int64_t below = std::clamp(rows.maxY(), above, sidebar.maxY());
    frame.canvas.fill(Rect(sidebar.minX(), sidebar.minY(), sidebar.size.width, above - sidebar.minY()),
                      frame.styles.surface);
    frame.canvas.fill(Rect(sidebar.minX(), below, sidebar.size.width, sidebar.maxY() - below), frame.styles.surface);
    if (banner) OperationBannerView::draw(frame, ws, Rect(list.minX(), list.minY() - 2, list.size.width, 2));
    FileListView::drawHeader(frame, ws, list);
    FileListView::draw(frame, ws, rows, ws.focus == WorkspaceFocus::files && !ws.changes.isFilterFocused);
    CommitBoxView::draw(frame, ws, Rect(sidebar.minX(), sidebar.maxY() - boxHeight, sidebar.size.width, boxHeight));
}

// The selected file's directory and name, and its line counts once its
// diff is loaded.
void drawFileHeader(UIFrame& frame, const WorkspaceState& ws, const core::FileChange& file, const Rect& main) {
    const ThemeStyles& s = frame.styles;
    const std::int64_t x = main.minX();
    const std::int64_t y = main.minY();
    const std::int64_t w = main.size.width;
    // Control characters in the name stay visible ("a<LF>b" is not "ab").
    const std::string directory = terminal::TextTruncation::middle(
        terminal::TextSlicing::withVisibleControls(file.directory()), w < 2 ? 1 : w / 2, std::nullopt);
    const std::int64_t d = frame.canvas.draw(directory, Point{x + 1, y}, s.dim);
    frame.canvas.draw(terminal::TextSlicing::withVisibleControls(file.fileName()), Point{x + 1 + d, y}, s.bold,
                      std::max<std::int64_t>(w - d - 16, 1));
    const auto& view = ws.changes.diff;
    if (!view.diff() || view.diff()->isBinary || !view.stats()) return;
    const std::string deleted = std::to_string(view.stats()->deletions);
    const std::string added = std::to_string(view.stats()->additions);
    frame.canvas.drawRightAligned("\u2212" + deleted, x + w - 1, y, s.danger);
    // One blank column between the counts: "−" and the digits are one column each.
    const auto deletionsWidth = 1 + static_cast<std::int64_t>(deleted.size());
    frame.canvas.drawRightAligned("+" + added, x + w - 2 - deletionsWidth, y, s.success);
}

void drawChangesMain(UIFrame& frame, const WorkspaceState& ws, const Rect& main) {
    const auto* document = ws.changes.activeConflict(ws.status);
    // The diff pane paints its own rows; each cell is painted once.
    frame.canvas.fill(document ? main : Rect(main.minX(), main.minY(), main.size.width, std::min<std::int64_t>(main.size.height, 1)),
                      frame.styles.background);
    if (const auto* file = ws.changes.selectedFile(ws.status)) drawFileHeader(frame, ws, *file, main);
    const Rect diff(main.minX(), main.minY() + 1, main.size.width, std::max<std::int64_t>(main.size.height - 1, 0));
    const bool focused = ws.focus == WorkspaceFocus::diff;
    if (document) {
        ConflictView::draw(frame, ws, *document, diff, focused);
        return;
    }
    const features::SelectedLines selection = ws.changes.selection();
    DiffView::draw(frame, ws.changes.diff, diff, features::Pane::diff, focused, &selection);
}

void drawChanges(UIFrame& frame, const WorkspaceState& ws, const WorkspaceLayout& layout) {
    if (layout.sidebar) drawChangesSidebar(frame, ws, *layout.sidebar);
    if (layout.main) drawChangesMain(frame, ws, *layout.main);
}

void drawHistoryMain(UIFrame& frame, const WorkspaceState& ws, const Rect& main) {
    const ThemeStyles& s = frame.styles;
    frame.canvas.fill(Rect(main.minX(), main.minY(), main.size.width, std::min<std::int64_t>(main.size.height, 3)),
                      s.background);
    HistoryViews::drawCommitHeader(frame, ws, Rect(main.minX(), main.minY(), main.size.width, 2));
    frame.canvas.horizontalLine(main.minY() + 2, main.minX(), main.size.width, s.border);
    DiffView::draw(frame, ws.history.diff,
                   Rect(main.minX(), main.minY() + 3, main.size.width, std::max<std::int64_t>(main.size.height - 3, 0)),
                   features::Pane::historyDiff, ws.focus == WorkspaceFocus::historyDiff, nullptr);
}

void drawHistory(UIFrame& frame, const WorkspaceState& ws, const WorkspaceLayout& layout) {
    const bool listFocused = ws.focus == WorkspaceFocus::historyList;
    const bool filesFocused = ws.focus == WorkspaceFocus::historyFiles;
    if (const auto& sidebar = layout.sidebar) {
        if (layout.middle || (!layout.main && listFocused)) {
            HistoryViews::drawCommitList(frame, ws, *sidebar, listFocused);
        } else {
            const std::int64_t h = sidebar->size.height;
            const std::int64_t listHeight = h * 60 < 600 ? 6 : h * 60 / 100;
            const std::int64_t x = sidebar->minX();
            const std::int64_t y = sidebar->minY();
            const std::int64_t w = sidebar->size.width;
            HistoryViews::drawCommitList(frame, ws, Rect(x, y, w, listHeight), listFocused);
            frame.canvas.horizontalLine(y + listHeight, x, w, frame.styles.border);
            HistoryViews::drawCommitFiles(frame, ws, Rect(x, y + listHeight + 1, w, std::max<std::int64_t>(h - listHeight - 1, 0)),
                                          filesFocused);
        }
    }
    if (layout.middle) HistoryViews::drawCommitFiles(frame, ws, *layout.middle, filesFocused);
    if (!layout.sidebar && filesFocused && layout.main) {
        HistoryViews::drawCommitFiles(frame, ws, *layout.main, true);
        return;
    }
    if (layout.main) drawHistoryMain(frame, ws, *layout.main);
}

}  // namespace

void draw(UIFrame& frame, const features::AppState& state, const WorkspaceState& ws, const WorkspaceLayout& layout) {
    ToolbarView::draw(frame, state, ws, layout);
    drawTabs(frame, ws, layout);
    drawSeparators(frame, layout);
    if (ws.tab == WorkspaceTab::history) {
        drawHistory(frame, ws, layout);
    } else {
        drawChanges(frame, ws, layout);
    }
    HintBar::draw(frame, state, layout);
    HintBar::drawToast(frame, state, layout);
}

}  // namespace tarv::ui::WorkspaceScreen
