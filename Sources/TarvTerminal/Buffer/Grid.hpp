#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "TarvTerminal/Buffer/Cell.hpp"
#include "TarvTerminal/Geometry/Size.hpp"

namespace tarv::terminal {

// A finished picture: width x height cells, row by row.
struct Grid {
    Size size;
    std::vector<Cell> cells;

    Grid() = default;
    explicit Grid(Size size, const Cell& fill = Cell::blank());

    bool contains(std::int64_t x, std::int64_t y) const {
        return x >= 0 && y >= 0 && x < size.width && y < size.height;
    }

    // The cell at (x, y); the position must lie inside the grid.
    Cell& operator()(std::int64_t x, std::int64_t y) { return cells[index(x, y)]; }
    const Cell& operator()(std::int64_t x, std::int64_t y) const { return cells[index(x, y)]; }

    // The cells of row y, which must lie in 0 ..< height.
    std::span<const Cell> row(std::int64_t y) const {
        return std::span<const Cell>(cells).subspan(index(0, y), static_cast<std::size_t>(size.width));
    }

    void clear(const Cell& cell = Cell::blank());

    // The visible text of a row: its characters, continuation cells skipped.
    std::string text(std::int64_t row) const;

    bool operator==(const Grid&) const = default;

private:
    std::size_t index(std::int64_t x, std::int64_t y) const {
        return static_cast<std::size_t>(y * size.width + x);
    }
};

}  // namespace tarv::terminal
