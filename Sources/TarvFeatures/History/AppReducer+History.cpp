// The History tab: pages of commits, loading the next page near the end of
// the list, the commit and file selections, and the files and diffs they
// show. Answers for a commit or file that is no longer selected are
// dropped, and so is a further page that does not continue the list shown.
#include <algorithm>
#include <exception>
#include <utility>

#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"

namespace tarv::features {

namespace {

std::int64_t count(const auto& list) { return static_cast<std::int64_t>(list.size()); }

std::optional<std::string> selectedSHA(const HistoryState& history) {
    const core::Commit* commit = history.selectedCommit();
    return commit ? std::optional<std::string>(commit->sha) : std::nullopt;
}

// Appends a further page, but only the one the list waits for: a page asked
// for before a refresh or a branch switch replaced the list (its skip no
// longer the list's end, or no load pending) belongs to another history.
void appendPage(HistoryState& history, std::vector<core::Commit> commits, std::int64_t skip) {
    if (!history.isLoading || skip != count(history.commits)) return;
    history.isLoading = false;
    history.hasMore = count(commits) == HistoryState::pageSize;
    history.commits.insert(history.commits.end(), std::make_move_iterator(commits.begin()),
                           std::make_move_iterator(commits.end()));
}

}  // namespace

AppEffect AppReducer::historyLoaded(WorkspaceState& workspace, std::vector<core::Commit> commits,
                                    std::int64_t skip) const {
    HistoryState& history = workspace.history;
    if (skip != 0) {
        appendPage(history, std::move(commits), skip);
        return AppEffect::none();
    }
    // A fresh first page: a further page still on its way continues the old
    // list, so it is stopped.
    AppEffect stale = AppEffect::cancel("historyMore");
    history.isLoading = false;
    history.hasMore = count(commits) == HistoryState::pageSize;
    const std::optional<std::string> remembered = selectedSHA(history);
    history.commits = std::move(commits);
    const std::int64_t total = count(history.commits);
    if (remembered) {
        const auto found = std::find_if(history.commits.begin(), history.commits.end(),
                                        [&](const core::Commit& commit) { return commit.sha == *remembered; });
        if (found != history.commits.end()) {
            history.list.select(found - history.commits.begin(), total, workspace.viewports.historyList);
            return stale;
        }
    }
    history.list = core::ListScroll{};
    history.files.clear();
    history.diff = DiffViewState(workspace.splitDiff);
    if (total == 0) return stale;
    history.list.select(0, total, workspace.viewports.historyList);
    if (workspace.tab != WorkspaceTab::history) return stale;
    return AppEffect::merge(std::move(stale), loadCommitFiles(workspace));
}

AppEffect AppReducer::loadMoreHistoryIfNeeded(WorkspaceState& workspace, std::int64_t visibleEnd) const {
    HistoryState& history = workspace.history;
    const std::int64_t loaded = count(history.commits);
    if (!history.hasMore || history.isLoading || visibleEnd < loaded - 5) return AppEffect::none();
    history.isLoading = true;
    return loadHistory(workspace.path, loaded);
}

AppEffect AppReducer::selectCommit(WorkspaceState& workspace, std::int64_t row) const {
    HistoryState& history = workspace.history;
    if (history.commits.empty()) return AppEffect::none();
    const std::optional<std::string> remembered = selectedSHA(history);
    history.list.select(row, count(history.commits), workspace.viewports.historyList);
    workspace.focus = WorkspaceFocus::historyList;
    AppEffect more = loadMoreHistoryIfNeeded(workspace, history.list.selected.value_or(0) + 10);
    if (selectedSHA(history) == remembered && !history.files.empty()) return more;
    history.files.clear();
    history.filesList = core::ListScroll{};
    history.filesError.reset();
    history.diff = DiffViewState(workspace.splitDiff);
    return AppEffect::merge(loadCommitFiles(workspace), std::move(more));
}

AppEffect AppReducer::moveCommitSelection(WorkspaceState& workspace, std::int64_t by) const {
    const HistoryState& history = workspace.history;
    if (history.commits.empty()) return AppEffect::none();
    const std::int64_t total = count(history.commits);
    const std::int64_t start = history.list.selected.value_or(by > 0 ? -1 : total);
    return selectCommit(workspace, std::clamp<std::int64_t>(start + by, 0, total - 1));
}

AppEffect AppReducer::moveCommitFileSelection(WorkspaceState& workspace, std::int64_t by) const {
    const HistoryState& history = workspace.history;
    const std::int64_t start = history.filesList.selected.value_or(by < 1 ? count(history.files) : -1);
    return selectCommitFile(workspace, start + by);
}

AppEffect AppReducer::loadCommitFiles(WorkspaceState& workspace) const {
    const core::Commit* commit = workspace.history.selectedCommit();
    if (!commit) return AppEffect::none();
    workspace.history.isLoadingFiles = true;
    return AppEffect::run("commitFiles", [repository = dependencies_.repository, path = workspace.path,
                                          sha = commit->sha](AppEffect::Send send, std::stop_token stop) {
        try {
            auto files = repository->files(sha, path, stop);
            if (!stop.stop_requested()) send(WorkspaceAction::CommitFilesLoaded{sha, std::move(files)});
        } catch (...) {
            if (!stop.stop_requested()) {
                send(WorkspaceAction::CommitFilesFailed{sha, ErrorText::describe(std::current_exception())});
            }
        }
    });
}

AppEffect AppReducer::commitFilesLoaded(WorkspaceState& workspace, const std::string& sha,
                                        std::vector<core::CommitFile> files) const {
    HistoryState& history = workspace.history;
    if (selectedSHA(history) != sha) return AppEffect::none();
    history.isLoadingFiles = false;
    history.filesError.reset();
    history.files = std::move(files);
    history.filesList = core::ListScroll{};
    if (history.files.empty()) {
        history.selectedFilePath.reset();
        return AppEffect::none();
    }
    return selectCommitFile(workspace, 0);
}

AppEffect AppReducer::selectCommitFile(WorkspaceState& workspace, std::int64_t row) const {
    HistoryState& history = workspace.history;
    const core::Commit* commit = history.selectedCommit();
    if (history.files.empty() || !commit) return AppEffect::none();
    history.filesList.select(row, count(history.files), workspace.viewports.historyFiles);
    if (!history.filesList.selected) return AppEffect::none();
    const core::CommitFile& file = history.files[static_cast<std::size_t>(*history.filesList.selected)];
    if (history.selectedFilePath == file.path && history.diff.diff()) return AppEffect::none();
    history.selectedFilePath = file.path;
    history.diff.begin(file.path);
    return AppEffect::run("commitDiff", [repository = dependencies_.repository, path = workspace.path,
                                         sha = commit->sha, file = file.path](AppEffect::Send send,
                                                                              std::stop_token stop) {
        try {
            core::Diff diff = repository->diffOfCommit(sha, file, path, stop);
            if (!stop.stop_requested()) send(WorkspaceAction::CommitDiffLoaded{sha, file, std::move(diff)});
        } catch (...) {
            if (!stop.stop_requested()) {
                send(WorkspaceAction::CommitDiffFailed{sha, file, ErrorText::describe(std::current_exception())});
            }
        }
    });
}

void AppReducer::commitDiffLoaded(WorkspaceState& workspace, const std::string& sha, const std::string& path,
                                  core::Diff diff) const {
    HistoryState& history = workspace.history;
    if (selectedSHA(history) != sha || history.selectedFilePath != path) return;
    history.diff.setDiff(std::move(diff));
    history.diff.isLoading = false;
    history.diff.error.reset();
    history.diff.scroll(0, workspace.viewports.diff);
}

}  // namespace tarv::features
