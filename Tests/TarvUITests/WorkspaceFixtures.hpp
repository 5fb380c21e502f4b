#pragma once

// Small states for the workspace views and the keymap tests.

#include <cstdint>
#include <string>
#include <vector>

#include "TarvCore/Models/ConflictDocument.hpp"
#include "TarvCore/Models/Diff.hpp"
#include "TarvCore/Models/FileChange.hpp"
#include "TarvFeatures/App/AppState.hpp"

namespace tarv::ui::fixtures {

inline core::FileChange file(std::string path, core::ChangeKind kind = core::ChangeKind::modified) {
    core::FileChange change;
    change.path = std::move(path);
    change.kind = kind;
    return change;
}

// A state with an open workspace "/repo" named "repo" whose status is
// loaded with `files`, all of them included (as after a first status).
inline features::AppState stateWith(std::vector<core::FileChange> files = {}) {
    features::AppState state;
    state.workspace.emplace("/repo", "repo", std::nullopt);
    auto& ws = *state.workspace;
    ws.status.branch.head = "main";
    ws.status.files = std::move(files);
    ws.isStatusLoaded = true;
    for (const auto& f : ws.status.files) {
        ws.changes.knownPaths.insert(f.path);
        ws.changes.included.insert(f.path);
    }
    return state;
}

// A diff of `hunks` hunks, each a header, one removed, one added and
// `context` context lines; line numbers count on from 1.
inline core::Diff diff(std::int64_t hunks, std::int64_t context = 1) {
    core::Diff d;
    std::int64_t number = 1;
    for (std::int64_t h = 0; h < hunks; ++h) {
        core::DiffHunk hunk;
        hunk.header = "@@ -" + std::to_string(number) + " +" + std::to_string(number) + " @@";
        hunk.oldStart = hunk.newStart = number;
        hunk.lines.push_back({core::DiffLine::Kind::removed, "old " + std::to_string(h), number, std::nullopt});
        hunk.lines.push_back({core::DiffLine::Kind::added, "new " + std::to_string(h), std::nullopt, number});
        ++number;
        for (std::int64_t c = 0; c < context; ++c, ++number) {
            hunk.lines.push_back({core::DiffLine::Kind::context, "same", number, number});
        }
        d.hunks.push_back(std::move(hunk));
    }
    return d;
}

inline core::ConflictDocument conflictDocument(bool unresolved) {
    return core::ConflictDocument::parse(unresolved ? "a\n<<<<<<< ours\nx\n=======\ny\n>>>>>>> theirs\nb\n" : "a\nb\n");
}

// Selects `path`, a conflicted file of the status, with its document.
inline void showConflict(features::WorkspaceState& ws, const std::string& path, bool unresolved) {
    ws.changes.selectedPath = path;
    ws.changes.conflicts[path] = conflictDocument(unresolved);
}

}  // namespace tarv::ui::fixtures
