#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "TarvCore/Models/CommitSelection.hpp"
#include "TarvCore/Models/ConflictDocument.hpp"
#include "TarvCore/Models/EditableText.hpp"
#include "TarvCore/Models/FileChange.hpp"
#include "TarvCore/Models/ListScroll.hpp"
#include "TarvCore/Models/WorkingTreeStatus.hpp"
#include "TarvFeatures/Changes/PartialFileSelection.hpp"
#include "TarvFeatures/Changes/SelectedLines.hpp"
#include "TarvFeatures/Changes/VisibleFiles.hpp"
#include "TarvFeatures/Diff/DiffViewState.hpp"

namespace tarv::features {

// A fingerprint of a conflicted file's bytes, to tell whether another
// program changed the file since it was read; not kept past the process.
inline std::uint64_t conflictFingerprint(std::string_view bytes) { return std::hash<std::string_view>{}(bytes); }

// The Changes tab of the open repository: file filter, selected file, what
// the next commit includes (whole files or chosen lines), the diff pane, the
// parsed conflict documents and the conflict pane's position. Paths are
// repository-relative, as in FileChange::path.
//
// Invariants kept by its writers: a path has a `partial` entry only while
// `included` holds it; `knownPaths` is the path set of the last status
// applied, and `included` and `partial` hold no path outside it.
//
// The queries are pure. Those that look files up return pointers into the
// status they are given (valid while that status is unchanged), so that the
// views and the reducers, which call them on every frame and key, copy no
// file list.
struct ChangesState {
    core::EditableText filter{};
    // Keystrokes go to the filter.
    bool isFilterFocused = false;
    // The file shown in the diff pane.
    std::optional<std::string> selectedPath;
    // Paths included in the next commit, wholly or partly.
    std::set<std::string> included;
    // The paths of the last status applied.
    std::set<std::string> knownPaths;
    // Line-level selections, by path.
    std::map<std::string, PartialFileSelection> partial;
    core::ListScroll list;
    DiffViewState diff{false};
    // Parsed conflict documents, by path.
    std::map<std::string, core::ConflictDocument> conflicts;
    // For each document, the fingerprints (conflictFingerprint) of the texts
    // its file may hold on disk: the one it was parsed from, then each text a
    // choice wrote since. A choice is written only over one of them.
    std::map<std::string, std::vector<std::uint64_t>> conflictTexts;
    // First visible row of the conflict pane.
    std::int64_t conflictOffset = 0;
    // Index of the conflict block under the cursor.
    std::int64_t conflictCursor = 0;

    // The rows of the file list: the files whose lower-cased path contains
    // the trimmed, lower-cased filter (every file for a blank filter), in
    // status order. Only `path` is searched. Valid while this state and
    // `status` are unchanged.
    VisibleFiles visibleFiles(const core::WorkingTreeStatus& status) const;
    VisibleFiles visibleFiles(core::WorkingTreeStatus&&) const = delete;
    // The file whose path is `selectedPath`; null when none. Found at the
    // list's selection without a scan when the row there is that file (a
    // status lists each path once), else the first file with the path.
    const core::FileChange* selectedFile(const core::WorkingTreeStatus& status) const;
    // The files whose path is in `included`, in status order.
    std::vector<core::FileChange> includedChanges(const core::WorkingTreeStatus& status) const;
    // The number of includedChanges, without copying: the size of `included`
    // when the status is the one applied (as many files as `knownPaths`),
    // otherwise counted file by file.
    std::int64_t includedCount(const core::WorkingTreeStatus& status) const;
    // What a commit takes: partial files as PartialSelection (new when
    // untracked or added), other included files as whole paths (a moved
    // file's path, then its original path).
    core::CommitSelection commitSelection(const core::WorkingTreeStatus& status) const;
    // The loaded conflict document of the selected file when it is
    // conflicted; null otherwise.
    const core::ConflictDocument* activeConflict(const core::WorkingTreeStatus& status) const;
    // How the selected file takes part in the next commit; none while no
    // diff is loaded.
    SelectedLines selection() const;
    // The chosen lines of the selected file: its partial lines, every change
    // line of the loaded diff when included whole, else none.
    std::set<core::LineRef> selectedLines() const;

    bool operator==(const ChangesState&) const = default;
};

}  // namespace tarv::features
