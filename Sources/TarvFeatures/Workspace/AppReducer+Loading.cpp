// Results of the workspace's reads that do more than store a list: the
// remote, the selected file's diff, and the messages that fill the commit
// box (the head message for an amend, git's pending merge message).
#include <string>
#include <utility>

#include "TarvCore/Rules/Trimmed.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/Changes/LineCarry.hpp"

namespace tarv::features {

AppEffect AppReducer::remoteLoaded(AppState& state, std::optional<std::string> url) const {
    WorkspaceState& workspace = *state.workspace;
    workspace.remoteURL = url;
    const std::string path = workspace.path;
    const std::string name = workspace.name;
    AppEffect record = upsertRepository(state, path, name, url);
    return AppEffect::merge(std::move(record), refreshChecks(state, false));
}

AppEffect AppReducer::diffLoaded(AppState& state, const std::string& path, core::Diff diff) const {
    WorkspaceState& workspace = *state.workspace;
    ChangesState& changes = workspace.changes;
    if (changes.diff.path != path) return AppEffect::none();
    // Lines chosen on another version of the file are carried over to this
    // one; where they cannot be, the file leaves the commit rather than
    // going in whole.
    bool dropped = false;
    if (const auto partial = changes.partial.find(path); partial != changes.partial.end() && partial->second.diff != diff) {
        if (auto carried = LineCarry::carry(partial->second.diff, partial->second.lines, diff)) {
            partial->second = PartialFileSelection{std::move(*carried), diff};
        } else {
            changes.partial.erase(partial);
            changes.included.erase(path);
            dropped = true;
        }
    }
    changes.diff.setDiff(std::move(diff));
    changes.diff.isLoading = false;
    changes.diff.error.reset();
    changes.diff.scroll(0, workspace.viewports.diff);
    return dropped ? showToast(state, core::Text::lineSelectionDropped(), true) : AppEffect::none();
}

void AppReducer::amendMessageLoaded(WorkspaceState& workspace, const core::CommitMessage& message) const {
    workspace.isAmending = true;
    workspace.summary.setText(message.summary);
    workspace.description.setText(message.description);
    workspace.tab = WorkspaceTab::changes;
    workspace.focus = WorkspaceFocus::summary;
}

void AppReducer::mergeMessageLoaded(WorkspaceState& workspace, const std::string& text) const {
    // A blank message has nothing to fill in; the box keeps what was typed.
    if (core::trimmed(text).empty()) return;
    const std::string summary = workspace.summary.text();
    if (!summary.empty() && workspace.autoSummary != summary) return;
    const auto lineBreak = text.find('\n');
    std::string first = text.substr(0, lineBreak);
    const std::string rest = lineBreak == std::string::npos ? std::string() : core::trimmed(text.substr(lineBreak + 1));
    workspace.summary.setText(first);
    workspace.autoSummary = std::move(first);
    workspace.description.setText(rest);
}

}  // namespace tarv::features
