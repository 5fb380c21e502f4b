#pragma once

#include <cstdint>
#include <variant>

namespace tarv::terminal {

// One share of a `Layout::split`: a fixed number of cells, or a weight for a
// part of what the fixed lengths leave over.
struct Constraint {
    struct Length {
        std::int64_t cells;
        bool operator==(const Length&) const = default;
    };
    struct Fill {
        std::int64_t weight;
        bool operator==(const Fill&) const = default;
    };

    std::variant<Length, Fill> value;

    static Constraint length(std::int64_t cells) { return Constraint{Length{cells}}; }
    static Constraint fill(std::int64_t weight) { return Constraint{Fill{weight}}; }

    bool operator==(const Constraint&) const = default;
};

}  // namespace tarv::terminal
