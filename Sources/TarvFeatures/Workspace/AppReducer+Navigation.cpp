// Tabs, focus rings, scrolling, copying diff text and what the next commit
// includes, file by file.
#include <algorithm>
#include <array>
#include <exception>
#include <utility>

#include "TarvCore/Ports/PlatformServices.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/PlatformJobs.hpp"

namespace tarv::features {

namespace {

constexpr std::array changesRing{WorkspaceFocus::files, WorkspaceFocus::diff, WorkspaceFocus::summary,
                                 WorkspaceFocus::description};
constexpr std::array historyRing{WorkspaceFocus::historyList, WorkspaceFocus::historyFiles,
                                 WorkspaceFocus::historyDiff};

template <std::size_t N>
WorkspaceFocus cycled(const std::array<WorkspaceFocus, N>& ring, WorkspaceFocus current, bool reverse) {
    const auto found = std::find(ring.begin(), ring.end(), current);
    const std::size_t index = found == ring.end() ? 0 : static_cast<std::size_t>(found - ring.begin());
    return ring[reverse ? (index + N - 1) % N : (index + 1) % N];
}

std::int64_t count(const auto& list) { return static_cast<std::int64_t>(list.size()); }

}  // namespace

AppEffect AppReducer::setTab(WorkspaceState& workspace, WorkspaceTab tab) const {
    workspace.tab = tab;
    workspace.changes.isFilterFocused = false;
    if (tab == WorkspaceTab::changes) {
        workspace.focus = WorkspaceFocus::files;
        return AppEffect::none();
    }
    workspace.focus = WorkspaceFocus::historyList;
    HistoryState& history = workspace.history;
    if (!history.commits.empty()) {
        if (!history.list.selected) return selectCommit(workspace, 0);
        return history.files.empty() ? loadCommitFiles(workspace) : AppEffect::none();
    }
    // Before the first status is in, the first page is read with the
    // opening's other reads, which start now.
    if (!workspace.openingRestRead) return readOpeningRest(workspace);
    if (history.isLoading) return AppEffect::none();
    history.isLoading = true;
    return loadHistory(workspace.path, 0);
}

void AppReducer::cycleFocus(WorkspaceState& workspace, bool reverse) const {
    workspace.focus = workspace.tab == WorkspaceTab::changes ? cycled(changesRing, workspace.focus, reverse)
                                                             : cycled(historyRing, workspace.focus, reverse);
    workspace.changes.isFilterFocused = false;
}

AppEffect AppReducer::scroll(WorkspaceState& workspace, Pane pane, std::int64_t by) const {
    const Viewports& sizes = workspace.viewports;
    HistoryState& history = workspace.history;
    switch (pane) {
        case Pane::files:
            workspace.changes.list.scroll(by, count(workspace.changes.visibleFiles(workspace.status)), sizes.fileList);
            return AppEffect::none();
        case Pane::diff:
            if (workspace.changes.activeConflict(workspace.status)) {
                scrollConflict(workspace, by);
            } else {
                workspace.changes.diff.scroll(by, sizes.diff);
            }
            return AppEffect::none();
        case Pane::historyList:
            history.list.scroll(by, count(history.commits), sizes.historyList);
            return loadMoreHistoryIfNeeded(workspace, history.list.offset + sizes.historyList);
        case Pane::historyFiles:
            history.filesList.scroll(by, count(history.files), sizes.historyFiles);
            return AppEffect::none();
        case Pane::historyDiff:
            history.diff.scroll(by, sizes.diff);
            return AppEffect::none();
    }
    return AppEffect::none();
}

AppEffect AppReducer::endDiffTextSelection(AppState& state, const std::optional<std::string>& copying) const {
    WorkspaceState& workspace = *state.workspace;
    if (!copying || copying->empty()) {
        (workspace.tab == WorkspaceTab::history ? workspace.history.diff : workspace.changes.diff).textSelection.reset();
        return AppEffect::none();
    }
    // No clipboard tool, or it failed: the "copied" toast must not stay on
    // screen as if it had worked.
    AppEffect copy = PlatformJobs::copy(dependencies_.platform, *copying);
    return AppEffect::merge(std::move(copy), showToast(state, core::Text::copied(), false));
}

void AppReducer::toggleInclude(WorkspaceState& workspace, const std::string& path) const {
    ChangesState& changes = workspace.changes;
    // A path the last status did not list would only be dropped by the next
    // one; leaving it out keeps `included` within the known paths, which
    // spares every status with the same paths a pass over it.
    if (!changes.knownPaths.contains(path)) return;
    changes.partial.erase(path);
    if (!changes.included.erase(path)) changes.included.insert(path);
}

void AppReducer::toggleAll(WorkspaceState& workspace) const {
    ChangesState& changes = workspace.changes;
    const auto visible = changes.visibleFiles(workspace.status);
    bool allIncluded = true;
    for (std::int64_t row = 0; row < visible.size() && allIncluded; ++row) {
        allIncluded = changes.included.contains(visible[row].path);
    }
    for (std::int64_t row = 0; row < visible.size(); ++row) {
        const std::string& path = visible[row].path;
        changes.partial.erase(path);
        if (allIncluded) {
            changes.included.erase(path);
        } else {
            changes.included.insert(path);
        }
    }
}

}  // namespace tarv::features
