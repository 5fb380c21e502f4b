#pragma once

#include <cstdint>

namespace tarv::core {

// One coloured span of a source line. `start` and `length` count characters
// (grapheme clusters) of the line.
struct SyntaxToken {
    enum class Kind { keyword, string, comment, number, type };

    std::int64_t start = 0;
    std::int64_t length = 0;
    Kind kind = Kind::keyword;

    bool operator==(const SyntaxToken&) const = default;
};

}  // namespace tarv::core
