#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "TarvCore/Models/FileChange.hpp"
#include "TarvCore/Models/WorkingTreeStatus.hpp"

namespace tarv::features {

struct ChangesState;

// The rows of the Changes file list (`ChangesState::visibleFiles`): the files
// whose lower-cased path contains the trimmed, lower-cased filter, in status
// order; every file for a blank filter. It is asked on every frame and key,
// so it costs nothing on a large status with a blank filter: the rows are
// then the status's files themselves, nothing is copied or scanned; with a
// filter the matching files are found once, when it is made.
//
// It refers to the state and the status it was made from and is valid while
// neither changes. Its answers rely on what the reducer keeps true after
// every status: a path appears once in a status, and `included` and
// `partial` hold only paths of the status (`knownPaths`). Where the status
// and `knownPaths` disagree in size the answers are found one row at a time.
class VisibleFiles {
public:
    enum class Inclusion { none, some, all };

    VisibleFiles(const ChangesState& changes, const core::WorkingTreeStatus& status);

    std::int64_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    const core::FileChange& operator[](std::int64_t index) const;
    // The row of the file with `path`; none when it is not shown.
    std::optional<std::int64_t> indexOf(const std::string& path) const;

    // The include-all box: every row included and none partly ("all"), at
    // least one included ("some"), otherwise (or without rows) "none".
    Inclusion inclusion() const;
    // Whether a row's path is included: answered without a lookup when
    // nothing or (with the status applied) everything is included.
    bool isIncluded(const std::string& path) const;

private:
    bool statusIsApplied() const;

    const ChangesState& changes_;
    const core::WorkingTreeStatus& status_;
    bool everyFile_ = true;
    std::vector<const core::FileChange*> filtered_;
    std::int64_t count_ = 0;
};

}  // namespace tarv::features
