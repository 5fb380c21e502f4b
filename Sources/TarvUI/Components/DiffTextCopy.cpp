#include "TarvUI/Components/DiffTextCopy.hpp"

#include <algorithm>
#include <variant>

#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/TextSlicing.hpp"

namespace tarv::ui::DiffTextCopy {
namespace {

// The line that `side` of `row` shows; the same answer as
// DiffViewState::lineRef, found by a binary search over the hunk starts so
// that copying many rows does not walk the hunks once per row.
std::optional<core::LineRef> lineRef(const features::DiffViewState& view, std::int64_t row, std::int64_t side) {
    if (view.isSplit()) {
        if (!view.split() || row < 0 || row >= view.split()->rowCount()) return std::nullopt;
        const core::SplitDiff::Row shown = view.split()->row(row);
        const auto* pair = std::get_if<core::SplitDiff::Row::Pair>(&shown.value);
        if (pair == nullptr) return std::nullopt;
        if (side == 0) return pair->left;
        return pair->right;
    }
    const auto& starts = view.hunkStarts();
    if (row < 0 || row >= view.rowCount() || starts.empty()) return std::nullopt;
    const auto after = std::upper_bound(starts.begin(), starts.end(), row);
    if (after == starts.begin()) return std::nullopt;
    const auto hunk = static_cast<std::int64_t>(after - starts.begin()) - 1;
    const std::int64_t start = starts[static_cast<std::size_t>(hunk)];
    if (row == start) return std::nullopt;
    return core::LineRef{hunk, row - start - 1};
}

std::optional<core::DiffLine> lineAt(const core::Diff& diff, core::LineRef ref) {
    if (ref.hunk < 0 || ref.line < 0 || ref.hunk >= static_cast<std::int64_t>(diff.hunks.size())) return std::nullopt;
    const auto& lines = diff.hunks[static_cast<std::size_t>(ref.hunk)].lines;
    if (ref.line >= static_cast<std::int64_t>(lines.size())) return std::nullopt;
    return lines[static_cast<std::size_t>(ref.line)];
}

}  // namespace

std::optional<std::string> text(const features::DiffViewState& view) {
    if (!view.textSelection || view.textSelection->isEmpty() || !view.diff()) return std::nullopt;
    const features::DiffTextSelection& selection = *view.textSelection;
    const std::int64_t side = selection.anchor.side;
    const std::int64_t first = std::max<std::int64_t>(selection.start().row, 0);
    const std::int64_t last = std::min(selection.end().row, view.rowCount() - 1);
    std::string joined;
    bool any = false;
    for (std::int64_t row = first; row <= last; ++row) {
        const std::optional<core::LineRef> ref = lineRef(view, row, side);
        if (!ref) continue;
        const std::optional<core::DiffLine> line = lineAt(*view.diff(), *ref);
        if (!line || line->kind == core::DiffLine::Kind::noNewlineMarker) continue;
        const std::string display = terminal::TextSlicing::displayable(line->text);
        const auto columns = selection.columns(row, side, terminal::DisplayWidth::width(display));
        if (!columns) continue;
        if (any) joined.push_back('\n');
        joined += terminal::TextSlicing::slice(display, columns->lower, columns->upper - columns->lower);
        any = true;
    }
    if (joined.empty()) return std::nullopt;
    return joined;
}

}  // namespace tarv::ui::DiffTextCopy
