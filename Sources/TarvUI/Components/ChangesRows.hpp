#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "TarvCore/Models/FileChange.hpp"

namespace tarv::features {
struct WorkspaceState;
}

namespace tarv::ui {

// The rows of the Changes file list as one frame sees them:
// `ChangesState::visibleFiles` without its cost on a large status. With a
// blank filter the rows are the status's files themselves, so nothing is
// copied or scanned; with a filter the matching files are found once.
//
// The answers rely on what the reducer keeps true after every status: a path
// appears once in a status, and `included` and `partial` hold only paths of
// the status (`knownPaths`). Where the status and `knownPaths` disagree in
// size the rows are counted one by one instead.
class ChangesRows {
public:
    enum class Inclusion { none, some, all };

    explicit ChangesRows(const features::WorkspaceState& ws);

    std::int64_t count() const { return count_; }
    const core::FileChange& operator[](std::int64_t index) const;

    // The include-all box: every row included and none partly ("all"), at
    // least one included ("some"), otherwise (or without rows) "none".
    Inclusion inclusion() const;

    // Whether a row's path is included: answered without a lookup when
    // nothing or (with the status applied) everything is included.
    bool isIncluded(const std::string& path) const;

private:
    const features::WorkspaceState& ws_;
    bool everyFile_ = true;
    std::vector<const core::FileChange*> filtered_;
    std::int64_t count_ = 0;
};

}  // namespace tarv::ui
