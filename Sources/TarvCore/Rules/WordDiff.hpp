#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tarv::core::WordDiff {

// A half-open range of characters (grapheme clusters) of a line.
struct Range {
    std::int64_t start = 0;
    std::int64_t end = 0;

    bool operator==(const Range&) const = default;
};

// The changed ranges of a removed line (`oldRanges`) and of the added line
// set beside it (`newRanges`).
struct ChangedRanges {
    std::vector<Range> oldRanges;
    std::vector<Range> newRanges;

    bool operator==(const ChangedRanges&) const = default;
};

// Longest tokens a line may have to be compared.
inline constexpr std::int64_t maxTokens = 400;

// The character ranges of each line outside their longest common run of
// tokens (words, runs of blanks, single other characters). Gives up with no
// ranges when a line is empty or longer than 400 tokens, or when the lines
// share no token.
ChangedRanges changedRanges(std::string_view oldLine, std::string_view newLine);

}  // namespace tarv::core::WordDiff
