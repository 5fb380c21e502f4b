#include "TarvFeatures/Workspace/WorkspaceState.hpp"

#include <algorithm>
#include <utility>

#include "TarvCore/Rules/Trimmed.hpp"

namespace tarv::features {

namespace {

bool hasConflictedFile(const core::WorkingTreeStatus& status) {
    return std::any_of(status.files.begin(), status.files.end(),
                       [](const core::FileChange& file) { return file.kind == core::ChangeKind::conflicted; });
}

}  // namespace

WorkspaceState::WorkspaceState(std::string path, std::string name, std::optional<std::string> remoteURL)
    : path(std::move(path)), name(std::move(name)), remoteURL(std::move(remoteURL)) {}

bool WorkspaceState::canCommit() const {
    const auto& operation = status.operation;
    if (operation && *operation != core::RepositoryOperation::merge) {
        return !hasConflictedFile(status) && !isCommitting;
    }
    const std::string summaryText = summary.text();
    if (core::trimmedView(summaryText).empty()) return false;
    if (!isAmending && changes.includedCount(status) == 0) return false;
    if (isCommitting) return false;
    if (operation && hasConflictedFile(status)) return false;
    return true;
}

bool WorkspaceState::canUndoCommit() const {
    const auto& branch = status.branch;
    return branch.objectID.has_value() && (!branch.upstream.has_value() || branch.ahead > 0);
}

std::string WorkspaceState::currentBranch() const {
    return status.branch.head.value_or("HEAD");
}

core::SyncContext WorkspaceState::syncContext() const {
    core::SyncContext context;
    context.hasRemote = remoteURL.has_value();
    context.hasUpstream = status.branch.upstream.has_value();
    context.ahead = status.branch.ahead;
    context.behind = status.branch.behind;
    context.lastFetched = sync.lastFetched;
    context.now = 0;
    return context;
}

std::int64_t WorkspaceState::includedCount() const {
    return changes.includedCount(status);
}

bool WorkspaceState::hasUnresolvedConflicts() const {
    return status.operation.has_value() && hasConflictedFile(status);
}

WorkspaceState::WorkspaceState(const WorkspaceState&) = default;
WorkspaceState::WorkspaceState(WorkspaceState&&) noexcept = default;
WorkspaceState& WorkspaceState::operator=(const WorkspaceState&) = default;
WorkspaceState& WorkspaceState::operator=(WorkspaceState&&) noexcept = default;
WorkspaceState::~WorkspaceState() = default;
bool WorkspaceState::operator==(const WorkspaceState&) const = default;

}  // namespace tarv::features
