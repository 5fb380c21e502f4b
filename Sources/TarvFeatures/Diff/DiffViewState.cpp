#include "TarvFeatures/Diff/DiffViewState.hpp"

#include <algorithm>
#include <atomic>
#include <limits>
#include <utility>

#include "TarvFeatures/Diff/DiffRows.hpp"

namespace tarv::features {

namespace {

const std::vector<std::int64_t> noStarts;

// A revision no diff of this process has had (never 0).
std::uint64_t nextRevision() {
    static std::atomic<std::uint64_t> last{0};
    return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

// a + b without overflow: callers may scroll by "as far as it goes".
std::int64_t addSaturating(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (!__builtin_add_overflow(a, b, &sum)) return sum;
    return b > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
}

// The last hunk whose header row is at or before `row`; 0 when none.
std::size_t hunkAt(const std::vector<std::int64_t>& starts, std::int64_t row) {
    for (std::size_t index = starts.size(); index > 0; --index) {
        if (starts[index - 1] <= row) return index - 1;
    }
    return 0;
}

std::int64_t startOf(const std::vector<std::int64_t>& starts, std::size_t hunk) {
    return hunk < starts.size() ? starts[hunk] : 0;
}

}  // namespace

void DiffViewState::setDiff(std::optional<core::Diff> diff) {
    diff_ = std::move(diff);
    revision_.value = nextRevision();
    split_.reset();
    wordPairs_ = core::WordPairs();
    stats_.reset();
    if (diff_) {
        stats_.emplace(*diff_);
        wordPairs_ = core::WordPairs(*diff_);
        if (isSplit_) split_.emplace(*diff_);
    }
    textSelection.reset();
}

std::int64_t DiffViewState::rowCount() const {
    if (isSplit_) return split_ ? split_->rowCount() : 0;
    return stats_ ? stats_->lineCount : 0;
}

const std::vector<std::int64_t>& DiffViewState::hunkStarts() const {
    if (isSplit_) return split_ ? split_->hunkStarts : noStarts;
    return stats_ ? stats_->hunkStarts : noStarts;
}

void DiffViewState::begin(std::string path) {
    this->path = std::move(path);
    diff_.reset();
    revision_.value = nextRevision();
    split_.reset();
    stats_.reset();
    wordPairs_ = core::WordPairs();
    error.reset();
    isLoading = true;
    offset = 0;
    horizontalOffset = 0;
    cursor = 0;
    textSelection.reset();
}

void DiffViewState::reload() {
    isLoading = true;
    if (!stats_ || stats_->lineCount <= longestKeptWhileReloading) return;
    diff_.reset();
    revision_.value = nextRevision();
    split_.reset();
    stats_.reset();
    wordPairs_ = core::WordPairs();
    textSelection.reset();
}

void DiffViewState::setSplit(bool split) {
    if (split == isSplit_) return;
    const std::size_t offsetHunk = hunkAt(hunkStarts(), offset);
    const std::size_t cursorHunk = hunkAt(hunkStarts(), cursor);
    isSplit_ = split;
    textSelection.reset();
    split_.reset();
    if (isSplit_ && diff_) split_.emplace(*diff_);
    offset = startOf(hunkStarts(), offsetHunk);
    cursor = startOf(hunkStarts(), cursorHunk);
}

void DiffViewState::scroll(std::int64_t delta, std::int64_t viewport) {
    const std::int64_t page = std::max<std::int64_t>(viewport, 1);
    offset = std::clamp<std::int64_t>(addSaturating(offset, delta), 0, std::max<std::int64_t>(rowCount() - page, 0));
}

void DiffViewState::scrollHorizontally(std::int64_t delta) {
    horizontalOffset = std::max<std::int64_t>(addSaturating(horizontalOffset, delta), 0);
}

bool DiffViewState::hasRows() const {
    const bool built = isSplit_ ? split_.has_value() : stats_.has_value();
    return built && rowCount() >= 1;
}

void DiffViewState::moveCursor(std::int64_t delta, std::int64_t viewport) {
    if (!hasRows()) return;
    moveCursorTo(addSaturating(cursor, delta), viewport);
}

void DiffViewState::moveCursorTo(std::int64_t row, std::int64_t viewport) {
    if (!hasRows()) return;
    cursor = std::min(rowCount() - 1, std::max<std::int64_t>(row, 0));
    keepCursorVisible(viewport);
}

void DiffViewState::keepCursorVisible(std::int64_t viewport) {
    if (cursor < offset) offset = cursor;
    const std::int64_t page = std::max<std::int64_t>(viewport, 1);
    if (cursor >= offset + page) offset = cursor - page + 1;
    offset = std::clamp<std::int64_t>(offset, 0, std::max<std::int64_t>(rowCount() - page, 0));
}

std::optional<DiffRowTarget> DiffViewState::target(std::int64_t row) const {
    if (!diff_) return std::nullopt;
    if (isSplit_) {
        if (!split_ || row < 0 || row >= split_->rowCount()) return std::nullopt;
        const core::SplitDiff::Row shown = split_->row(row);
        const auto& value = shown.value;
        if (const auto* header = std::get_if<core::SplitDiff::Row::Header>(&value)) {
            return DiffRowTarget::hunkHeader(header->hunk);
        }
        const auto& pair = std::get<core::SplitDiff::Row::Pair>(value);
        std::vector<core::LineRef> refs;
        if (pair.left && pair.right && *pair.left == *pair.right) {
            refs.push_back(*pair.left);
        } else {
            if (pair.left) refs.push_back(*pair.left);
            if (pair.right) refs.push_back(*pair.right);
        }
        return DiffRowTarget::lines(std::move(refs));
    }
    const auto kind = DiffRows::kind(row, *diff_);
    if (!kind) return std::nullopt;
    if (const auto* header = std::get_if<DiffRows::Kind::HunkHeader>(&kind->value)) {
        return DiffRowTarget::hunkHeader(header->hunk);
    }
    return DiffRowTarget::lines({std::get<DiffRows::Kind::Line>(kind->value).ref});
}

std::optional<core::LineRef> DiffViewState::lineRef(std::int64_t row, std::int64_t side) const {
    const auto rowTarget = target(row);
    if (!rowTarget) return std::nullopt;
    const auto* lines = std::get_if<DiffRowTarget::Lines>(&rowTarget->value);
    if (!lines) return std::nullopt;
    if (isSplit_) {
        // target() found the row, so it lies within split_->rows.
        const auto pair = std::get<core::SplitDiff::Row::Pair>(split_->row(row).value);
        return side == 0 ? pair.left : pair.right;
    }
    if (lines->refs.empty()) return std::nullopt;
    return lines->refs.front();
}

}  // namespace tarv::features
