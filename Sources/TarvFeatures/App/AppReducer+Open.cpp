// Opening a repository: the workspace, its registry entry, and the keyed
// jobs that keep it current. Every job has a fixed id, so opening another
// repository replaces these jobs of the previous one (its watcher and fetch
// timer end); the builders are reused by the feature flows to reload.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "TarvCore/Ports/FileWatching.hpp"
#include "TarvCore/Ports/GitRepositoryClient.hpp"
#include "TarvCore/Ports/RepositoryRegistry.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvFeatures/App/ErrorText.hpp"
#include "TarvFeatures/History/TagsRead.hpp"

namespace tarv::features {

namespace {

// The last path component; a trailing "/" is dropped first unless the path
// is just "/" (whose name is empty).
std::string displayName(const std::string& path) {
    std::string trimmed = path;
    if (trimmed.size() >= 2 && trimmed.back() == '/') trimmed.pop_back();
    const auto slash = trimmed.rfind('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

std::optional<std::string> registeredRemote(const std::vector<core::RepositoryEntry>& entries,
                                            const std::string& path) {
    for (const auto& entry : entries) {
        if (entry.path == path) return entry.remoteURL;
    }
    return std::nullopt;
}

}  // namespace

AppEffect AppReducer::open(AppState& state, const std::string& path) const {
    state.overlay.reset();
    const std::string name = displayName(path);
    state.workspace.emplace(path, name, registeredRemote(state.repositories, path));
    state.workspace->viewports = state.viewports;
    state.workspace->isRefreshing = true;
    AppEffect record = upsertRepository(state, path, name, std::nullopt);
    AppEffect overdue = AppEffect::after("openingRest", openingRestDelay, [](AppEffect::Send send, std::stop_token) {
        send(WorkspaceAction::StatusOverdue{});
    });
    return AppEffect::merge(AppEffect::cancel("diff"), AppEffect::cancel("commitDiff"), refreshStatus(path),
                            std::move(overdue), watch(path), autoFetch(firstFetchDelay), std::move(record));
}

AppEffect AppReducer::readOpeningRest(WorkspaceState& workspace) const {
    if (workspace.openingRestRead) return AppEffect::none();
    workspace.openingRestRead = true;
    workspace.history.isLoading = true;
    const std::string& path = workspace.path;
    return AppEffect::merge(AppEffect::cancel("openingRest"), loadBranches(path), loadRemote(path),
                            loadHistory(path, 0), loadStashes(path));
}

AppEffect AppReducer::upsertRepository(AppState& state, const std::string& path, const std::string& name,
                                       const std::optional<std::string>& remote) const {
    auto& entries = state.repositories;
    auto found = std::find_if(entries.begin(), entries.end(),
                              [&](const core::RepositoryEntry& entry) { return entry.path == path; });
    if (found != entries.end()) {
        found->name = name;
        found->lastOpened = state.now;
        if (remote) found->remoteURL = remote;
    } else {
        entries.push_back(core::RepositoryEntry{path, name, remote, state.now, std::nullopt});
    }
    return AppEffect::run("registry", [registry = dependencies_.registry, entries](AppEffect::Send,
                                                                                  std::stop_token stop) {
        try {
            registry->save(entries, stop);
        } catch (...) {
            // The list in memory stays updated for this run.
        }
    });
}

AppEffect AppReducer::refreshStatus(const std::string& path) const {
    return AppEffect::run("status", [repository = dependencies_.repository, path](AppEffect::Send send,
                                                                                 std::stop_token stop) {
        core::WorkingTreeStatus status;
        try {
            status = repository->status(path, stop);
        } catch (...) {
            // A read stopped by a newer one (or by a newer open) says nothing.
            if (!stop.stop_requested()) send(WorkspaceAction::StatusFailed{ErrorText::describe(std::current_exception())});
            return;
        }
        send(WorkspaceAction::StatusLoaded{std::move(status)});
    });
}

AppEffect AppReducer::loadBranches(const std::string& path) const {
    return AppEffect::run("branches", [repository = dependencies_.repository, path](AppEffect::Send send,
                                                                                   std::stop_token stop) {
        try {
            send(WorkspaceAction::BranchesLoaded{repository->branches(path, stop)});
        } catch (...) {
            // The previous list stays; the tags are read all the same.
        }
        readTags(*repository, path, send, stop);
    });
}

AppEffect AppReducer::loadRemote(const std::string& path) const {
    return AppEffect::run("remote", [repository = dependencies_.repository, path](AppEffect::Send send,
                                                                                 std::stop_token stop) {
        std::optional<std::string> url;
        try {
            url = repository->remoteURL(path, "origin", stop);
        } catch (...) {
            url.reset();
        }
        send(WorkspaceAction::RemoteLoaded{std::move(url)});
    });
}

AppEffect AppReducer::loadHistory(const std::string& path, std::int64_t skip) const {
    std::string id = skip == 0 ? "history" : "historyMore";
    return AppEffect::run(std::move(id), [repository = dependencies_.repository, path, skip](AppEffect::Send send,
                                                                                           std::stop_token stop) {
        std::vector<core::Commit> commits;
        try {
            commits = repository->history(path, skip, HistoryState::pageSize, stop);
        } catch (...) {
            if (!stop.stop_requested()) send(WorkspaceAction::HistoryFailed{ErrorText::describe(std::current_exception())});
            return;
        }
        send(WorkspaceAction::HistoryLoaded{std::move(commits), skip});
    });
}

AppEffect AppReducer::loadStashes(const std::string& path) const {
    return AppEffect::run("stashes", [repository = dependencies_.repository, path](AppEffect::Send send,
                                                                                  std::stop_token stop) {
        try {
            send(WorkspaceAction::StashesLoaded{repository->stashes(path, stop)});
        } catch (...) {
            // The previous list stays.
        }
    });
}

AppEffect AppReducer::watch(const std::string& path) const {
    return AppEffect::run("watcher", [watcher = dependencies_.watcher, path](AppEffect::Send send,
                                                                            std::stop_token stop) {
        // Stopping the job ends the stream, and with it the watch.
        const auto changes = watcher->changes(path);
        while (changes->next(stop)) send(WorkspaceAction::FilesChanged{});
    });
}

AppEffect AppReducer::autoFetch(std::chrono::milliseconds delay) const {
    return AppEffect::after("autofetch", delay, [](AppEffect::Send send, std::stop_token) {
        send(WorkspaceAction::AutoFetchTick{});
    });
}

}  // namespace tarv::features
