#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "TarvCore/Models/Commit.hpp"
#include "TarvCore/Models/CommitFile.hpp"
#include "TarvCore/Models/ListScroll.hpp"
#include "TarvFeatures/Diff/DiffViewState.hpp"

namespace tarv::features {

// The History tab: the loaded pages of commits of the current branch, the
// files of the selected commit and the diff of the selected file.
struct HistoryState {
    // Commits asked for per page.
    static constexpr std::int64_t pageSize = 100;

    // In the order the repository port returned them, pages appended.
    std::vector<core::Commit> commits;
    core::ListScroll list;
    // Another page may exist.
    bool hasMore = true;
    // A page is being loaded: the first one of an opening, or a further one.
    bool isLoading = false;
    // Files of the selected commit.
    std::vector<core::CommitFile> files;
    core::ListScroll filesList;
    bool isLoadingFiles = false;
    // Why the selected commit's files could not be read (git's message);
    // the files pane shows it in place of the list.
    std::optional<std::string> filesError;
    // The path whose diff `diff` shows or loads.
    std::optional<std::string> selectedFilePath;
    DiffViewState diff{false};

    // The commit at `list.selected` when that index lies within `commits`;
    // null otherwise. Points into `commits`.
    const core::Commit* selectedCommit() const;

    bool operator==(const HistoryState&) const = default;
};

}  // namespace tarv::features
