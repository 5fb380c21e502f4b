// libFuzzer target: word diff over any pair of lines (the input cut at its
// first NUL byte, or in half). The ranges must be sorted, separate and inside
// each line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "TarvCore/Rules/WordDiff.hpp"
#include "TarvCore/Text/Graphemes.hpp"

namespace {

void check(const std::vector<tarv::core::WordDiff::Range>& ranges, std::string_view line) {
    const auto length = static_cast<std::int64_t>(tarv::core::text::graphemeCount(line));
    std::int64_t previousEnd = -1;
    for (const auto& range : ranges) {
        if (range.start < 0 || range.start >= range.end || range.end > length) std::abort();
        if (range.start <= previousEnd) std::abort();
        previousEnd = range.end;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarv::core;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::size_t cut = nul == std::string_view::npos ? size / 2 : nul;
    const std::string_view oldLine = input.substr(0, cut);
    const std::string_view newLine = input.substr(nul == std::string_view::npos ? cut : cut + 1);
    const auto ranges = WordDiff::changedRanges(oldLine, newLine);
    check(ranges.oldRanges, oldLine);
    check(ranges.newRanges, newLine);
    if (oldLine == newLine && (!ranges.oldRanges.empty() || !ranges.newRanges.empty())) std::abort();
    return 0;
}
