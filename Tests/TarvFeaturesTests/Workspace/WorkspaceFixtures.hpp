#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Support/AppStoreHarness.hpp"
#include "Support/ModelFixtures.hpp"
#include "TarvFeatures/App/AppState.hpp"

namespace tarv::features::fixtures {

using Ids = std::vector<std::string>;
using Paths = std::vector<std::string>;

inline core::FileChange changed(std::string path, core::ChangeKind kind = core::ChangeKind::modified) {
    core::FileChange file;
    file.path = std::move(path);
    file.kind = kind;
    return file;
}

inline core::WorkingTreeStatus statusOf(std::vector<core::FileChange> files,
                                        std::optional<core::RepositoryOperation> operation = std::nullopt) {
    core::WorkingTreeStatus status;
    status.files = std::move(files);
    status.operation = operation;
    return status;
}

inline core::WorkingTreeStatus statusOf(const Paths& paths) {
    std::vector<core::FileChange> files;
    for (const auto& path : paths) files.push_back(changed(path));
    return statusOf(std::move(files));
}

using tarv::testing::commitWithID;

// Commits "c<first>" ... "c<first + count - 1>".
inline std::vector<core::Commit> commitsFrom(int first, int count) {
    std::vector<core::Commit> commits;
    for (int i = first; i < first + count; ++i) commits.push_back(commitWithID("c" + std::to_string(i)));
    return commits;
}

// An open workspace at "/r" with nothing loaded yet; the reads its opening
// starts beside the first status have been asked for.
inline AppState withWorkspace() {
    AppState state;
    state.workspace.emplace("/r", "r", std::nullopt);
    state.workspace->openingRestRead = true;
    return state;
}

// The paths of a list of files, in order.
inline Paths pathsOf(const std::vector<core::FileChange>& files) {
    Paths paths;
    for (const auto& file : files) paths.push_back(file.path);
    return paths;
}

inline Paths sorted(const std::set<std::string>& paths) { return Paths(paths.begin(), paths.end()); }

// Runs every job and reduces what they send, but leaves the toast on screen
// (its timer job would dismiss it at once with the test clock).
inline void settleKeepingToast(tarv::testing::AppStoreHarness& h) {
    auto skipping = tarv::testing::AppStoreHarness::longLivedJobs();
    skipping.insert("toast");
    h.settle(skipping);
}

// Sends a workspace action and returns the ids of the jobs it started.
inline Ids sendWorkspace(tarv::testing::AppStoreHarness& h, WorkspaceAction action) {
    h.send(AppAction(std::move(action)));
    return h.lastJobIds();
}

}  // namespace tarv::features::fixtures
