#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "TarvCore/Models/Diff.hpp"
#include "TarvCore/Models/DiffStats.hpp"
#include "TarvCore/Models/LineRef.hpp"
#include "TarvCore/Models/SplitDiff.hpp"
#include "TarvCore/Models/WordPairs.hpp"
#include "TarvFeatures/Diff/DiffRowTarget.hpp"
#include "TarvFeatures/Diff/DiffTextSelection.hpp"

namespace tarv::features {

// The state of one diff pane: the diff shown, its unified or side-by-side
// rows, scroll position, row cursor and text selection.
//
// Invariants: `stats` and `wordPairs` are derived from `diff`, and `split`
// is present exactly in side-by-side mode with a diff. The diff, the mode
// and the derived rows are therefore private: the diff is set with
// `setDiff` (which rebuilds the derived rows once, the only place they are
// built besides `setSplit`) and the mode with `setSplit`. Rows count from 0
// in the layout of the current mode; a viewport is the number of visible
// rows, and one of 0 or less counts as 1.
class DiffViewState {
public:
    // An empty pane in the given layout.
    explicit DiffViewState(bool split = false) : isSplit_(split) {}

    // Path of the file whose diff is shown.
    std::optional<std::string> path;
    // A load of this pane's diff is under way.
    bool isLoading = false;
    // Text of the last load failure.
    std::optional<std::string> error;
    // First visible row.
    std::int64_t offset = 0;
    // Columns scrolled to the right.
    std::int64_t horizontalOffset = 0;
    // Row under the cursor.
    std::int64_t cursor = 0;
    std::optional<DiffTextSelection> textSelection;

    const std::optional<core::Diff>& diff() const { return diff_; }
    // Names the diff's content: every `setDiff` and `begin` gives a number
    // no other diff of this process has had, and copies carry it along with
    // the diff, so two panes showing the same revision show the same lines.
    // Drawing uses it to keep what it derived from the lines between frames
    // without comparing them again. Not part of the state's value.
    std::uint64_t revision() const { return revision_.value; }
    bool isSplit() const { return isSplit_; }
    // Side-by-side rows; present only in side-by-side mode with a diff.
    const std::optional<core::SplitDiff>& split() const { return split_; }
    // Removed and added lines paired for word emphasis, both directions.
    const core::WordPairs& wordPairs() const { return wordPairs_; }
    const std::optional<core::DiffStats>& stats() const { return stats_; }

    // Installs a diff (or none) and rebuilds stats, word pairs and split
    // rows, every time, also for an equal diff. Clears the text selection;
    // offset, cursor and horizontal offset stay.
    void setDiff(std::optional<core::Diff> diff);

    // Rows of the current layout: split rows side by side, stats' line count
    // unified; 0 without them.
    std::int64_t rowCount() const;
    // Header row of each hunk in the current layout; empty without rows.
    const std::vector<std::int64_t>& hunkStarts() const;

    // Starts loading `path`: clears diff, derived rows, error, scroll,
    // cursor and selection; sets isLoading. The mode stays.
    void begin(std::string path);
    // Starts loading the shown file again: sets isLoading, and the diff
    // stays on screen until the new one arrives, unless it has more than
    // `longestKeptWhileReloading` unified rows (lines and hunk headers): two
    // copies of a huge diff alive at once would double what showing it
    // costs, so the diff, its derived rows and the selection go (scroll and
    // cursor stay).
    void reload();
    static constexpr std::int64_t longestKeptWhileReloading = 250'000;
    // Switches the layout, keeping the view on the same hunks: offset and
    // cursor land on the header rows (in the new layout) of the hunks they
    // were in. Nothing happens when the mode is already `split`.
    void setSplit(bool split);
    // Moves the offset by `delta` within 0 ... rowCount - viewport (0 when
    // the rows fit); by 0 it only clamps.
    void scroll(std::int64_t delta, std::int64_t viewport);
    // Moves the horizontal offset, never below 0.
    void scrollHorizontally(std::int64_t delta);
    // Moves the cursor by `delta` within the rows and scrolls it into view;
    // nothing without rows.
    void moveCursor(std::int64_t delta, std::int64_t viewport);
    // Puts the cursor on `row` (clamped to the rows) and scrolls it into
    // view; nothing without rows.
    void moveCursorTo(std::int64_t row, std::int64_t viewport);

    // What row `row` of the current layout stands for; none without a diff
    // or outside the rows.
    std::optional<DiffRowTarget> target(std::int64_t row) const;
    // The line that `side` of row `row` shows: a side-by-side pair's left
    // line for side 0, its right line for any other side; otherwise the
    // first line the row stands for. None for header rows and empty sides.
    std::optional<core::LineRef> lineRef(std::int64_t row, std::int64_t side) const;

    bool operator==(const DiffViewState&) const = default;

private:
    void keepCursorVisible(std::int64_t viewport);
    bool hasRows() const;

    // Compares equal to any other: two states with equal diffs are equal
    // whichever revisions named them.
    struct Revision {
        std::uint64_t value = 0;
        bool operator==(const Revision&) const { return true; }
    };

    std::optional<core::Diff> diff_;
    Revision revision_;
    bool isSplit_ = false;
    std::optional<core::SplitDiff> split_;
    core::WordPairs wordPairs_;
    std::optional<core::DiffStats> stats_;
};

}  // namespace tarv::features
