#include "TarvCore/Models/SplitDiff.hpp"

#include <algorithm>
#include <iterator>

namespace tarv::core {

std::int64_t SplitDiff::Run::rows() const {
    switch (kind) {
        case Kind::header: return 1;
        case Kind::context: return leftCount;
        case Kind::change: return std::max(leftCount, rightCount);
    }
    return 0;
}

SplitDiff::SplitDiff(const Diff& diff) {
    hunkStarts.reserve(diff.hunks.size());
    auto add = [&](Run run) {
        if (run.rows() == 0) return;
        run.firstRow = rowCount_;
        rowCount_ += run.rows();
        runs_.push_back(run);
    };
    using Kind = DiffLine::Kind;
    for (std::size_t h = 0; h < diff.hunks.size(); ++h) {
        const auto hunk = static_cast<std::int64_t>(h);
        hunkStarts.push_back(rowCount_);
        add(Run{.hunk = hunk, .kind = Run::Kind::header});
        Run open{.hunk = hunk, .kind = Run::Kind::context};
        const DiffLines& lines = diff.hunks[h].lines;
        Kind previous = Kind::context;
        for (std::size_t l = 0; l < lines.size(); ++l) {
            const auto line = static_cast<std::int64_t>(l);
            // A no-newline marker follows the line before it (context at the
            // start of a hunk).
            const Kind kind = lines[l].kind == Kind::noNewlineMarker ? (l == 0 ? Kind::context : previous)
                                                                     : lines[l].kind;
            previous = kind;
            const bool isContext = kind == Kind::context || kind == Kind::noNewlineMarker;
            const bool continues = isContext ? open.kind == Run::Kind::context
                                             : open.kind == Run::Kind::change &&
                                                   (kind == Kind::added || open.rightCount == 0);
            if (!continues) {
                add(open);
                open = Run{.hunk = hunk, .kind = isContext ? Run::Kind::context : Run::Kind::change, .left = line,
                           .right = line};
            }
            if (kind == Kind::added) {
                if (open.rightCount == 0) open.right = line;
                ++open.rightCount;
            } else {
                ++open.leftCount;
            }
        }
        add(open);
    }
}

SplitDiff::Row SplitDiff::row(std::int64_t index) const {
    const auto after = std::upper_bound(runs_.begin(), runs_.end(), index,
                                        [](std::int64_t row, const Run& run) { return row < run.firstRow; });
    const Run& run = *std::prev(after);
    const std::int64_t offset = index - run.firstRow;
    switch (run.kind) {
        case Run::Kind::header: return Row::header(run.hunk);
        case Run::Kind::context: {
            const LineRef ref{run.hunk, run.left + offset};
            return Row::pair(ref, ref);
        }
        case Run::Kind::change: break;
    }
    const auto side = [&](std::int64_t first, std::int64_t count) {
        return offset < count ? std::optional(LineRef{run.hunk, first + offset}) : std::nullopt;
    };
    return Row::pair(side(run.left, run.leftCount), side(run.right, run.rightCount));
}

}  // namespace tarv::core
