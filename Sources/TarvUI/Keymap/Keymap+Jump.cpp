#include <algorithm>

#include "TarvFeatures/App/AppState.hpp"
#include "TarvUI/Keymap/Keymap.hpp"

namespace tarv::ui {

using features::AppAction;
using features::Pane;
using features::WorkspaceAction;

std::vector<AppAction> Keymap::jump(const features::AppState& state, Pane pane, bool forward) {
    if (!state.workspace) return {};
    const auto& ws = *state.workspace;
    if (pane == Pane::diff && ws.changes.activeConflict(ws.status)) {
        return {AppAction(WorkspaceAction::MoveConflictCursor{forward ? 1 : -1})};
    }
    const features::DiffViewState& view = pane == Pane::diff ? ws.changes.diff : ws.history.diff;
    if (!view.diff()) return {};
    const std::vector<std::int64_t>& starts = view.hunkStarts();
    if (starts.empty()) return {};

    const std::int64_t position = pane == Pane::diff ? view.cursor : view.offset;
    std::optional<std::int64_t> start;
    if (forward) {
        const auto next = std::upper_bound(starts.begin(), starts.end(), position);
        if (next != starts.end()) start = *next;
    } else {
        const auto next = std::lower_bound(starts.begin(), starts.end(), position);
        if (next != starts.begin()) start = *std::prev(next);
    }
    if (!start) return {};
    if (pane == Pane::diff) return {AppAction(WorkspaceAction::MoveDiffCursorTo{*start})};
    return {AppAction(WorkspaceAction::Scroll{pane, *start - view.offset})};
}

}  // namespace tarv::ui
