#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "TarvCore/Text/HashCombine.hpp"

namespace tarv::core {

// Names one line of a Diff: `line` indexes the `lines` of hunk `hunk`, both
// from 0. Ordered by hunk, then line: the order of the lines in the diff.
struct LineRef {
    std::int64_t hunk = 0;
    std::int64_t line = 0;

    bool operator==(const LineRef&) const = default;
    auto operator<=>(const LineRef&) const = default;
};

}  // namespace tarv::core

template <>
struct std::hash<tarv::core::LineRef> {
    std::size_t operator()(const tarv::core::LineRef& ref) const noexcept {
        return tarv::core::hashValues(ref.hunk, ref.line);
    }
};
