#pragma once

#include <cstdint>
#include <string>

#include "TarvCore/Models/DiffLines.hpp"

namespace tarv::core {

// One hunk: the section that an @@ header line opens.
struct DiffHunk {
    // The whole header line as git wrote it, with any section text after the
    // closing @@.
    std::string header;
    std::int64_t oldStart = 0;
    std::int64_t oldCount = 0;
    std::int64_t newStart = 0;
    std::int64_t newCount = 0;
    DiffLines lines = {};

    bool operator==(const DiffHunk&) const = default;
};

}  // namespace tarv::core
