#include "TarvTerminal/Buffer/Grid.hpp"

#include <algorithm>

namespace tarv::terminal {

Grid::Grid(Size requested, const Cell& fill)
    : size{std::max<std::int64_t>(0, requested.width), std::max<std::int64_t>(0, requested.height)},
      cells(static_cast<std::size_t>(size.width * size.height), fill) {}

void Grid::clear(const Cell& cell) { std::fill(cells.begin(), cells.end(), cell); }

std::string Grid::text(std::int64_t rowIndex) const {
    std::string out;
    for (const Cell& cell : row(rowIndex)) {
        if (!cell.isContinuation) out.append(cell.character);
    }
    return out;
}

}  // namespace tarv::terminal
