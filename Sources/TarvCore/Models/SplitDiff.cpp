#include "TarvCore/Models/SplitDiff.hpp"

#include <algorithm>

namespace tarv::core {

SplitDiff::SplitDiff(const Diff& diff) {
    // The split layout never has more rows than the unified one.
    rows.reserve(static_cast<std::size_t>(diff.lineCount()));
    hunkStarts.reserve(diff.hunks.size());
    std::vector<LineRef> removed;
    std::vector<LineRef> added;
    auto flush = [&] {
        const std::size_t count = std::max(removed.size(), added.size());
        for (std::size_t i = 0; i < count; ++i) {
            std::optional<LineRef> left = i < removed.size() ? std::optional(removed[i]) : std::nullopt;
            std::optional<LineRef> right = i < added.size() ? std::optional(added[i]) : std::nullopt;
            rows.push_back(Row::Pair{left, right});
        }
        removed.clear();
        added.clear();
    };
    using Kind = DiffLine::Kind;
    for (std::size_t h = 0; h < diff.hunks.size(); ++h) {
        const auto hunk = static_cast<std::int64_t>(h);
        hunkStarts.push_back(static_cast<std::int64_t>(rows.size()));
        rows.push_back(Row::Header{hunk});
        const DiffLines& lines = diff.hunks[h].lines;
        Kind previous = Kind::context;
        for (std::size_t l = 0; l < lines.size(); ++l) {
            const LineRef ref{hunk, static_cast<std::int64_t>(l)};
            // A no-newline marker follows the line before it (context at the
            // start of a hunk).
            const Kind kind = lines[l].kind == Kind::noNewlineMarker ? (l == 0 ? Kind::context : previous)
                                                                     : lines[l].kind;
            previous = kind;
            switch (kind) {
                case Kind::context:
                case Kind::noNewlineMarker:
                    flush();
                    rows.push_back(Row::Pair{ref, ref});
                    break;
                case Kind::removed:
                    if (!added.empty()) flush();
                    removed.push_back(ref);
                    break;
                case Kind::added: added.push_back(ref); break;
            }
        }
        flush();
    }
}

std::map<LineRef, LineRef> SplitDiff::wordPairs() const {
    std::map<LineRef, LineRef> pairs;
    for (const Row& row : rows) {
        const auto* pair = std::get_if<Row::Pair>(&row.value);
        if (pair == nullptr || !pair->left || !pair->right || *pair->left == *pair->right) continue;
        pairs[*pair->left] = *pair->right;
        pairs[*pair->right] = *pair->left;
    }
    return pairs;
}

}  // namespace tarv::core
