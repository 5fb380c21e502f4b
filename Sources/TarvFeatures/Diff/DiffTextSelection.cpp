#include "TarvFeatures/Diff/DiffTextSelection.hpp"

namespace tarv::features {

std::optional<DiffTextSelection::Columns> DiffTextSelection::columns(std::int64_t row, std::int64_t side,
                                                                     std::int64_t width) const {
    if (side != anchor.side) return std::nullopt;
    if (anchor.row == head.row && anchor.column == head.column && side == head.side) return std::nullopt;
    const DiffTextPoint& from = start();
    const DiffTextPoint& to = end();
    if (row < from.row || row > to.row) return std::nullopt;
    const std::int64_t lower = row == from.row ? from.column : 0;
    const std::int64_t upper = row == to.row ? to.column : width;
    if (lower >= upper) return std::nullopt;
    return Columns{lower, upper};
}

}  // namespace tarv::features
