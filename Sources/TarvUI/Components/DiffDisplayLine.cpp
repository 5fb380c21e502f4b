#include "TarvUI/Components/DiffDisplayLine.hpp"

#include <algorithm>

#include "TarvTerminal/Text/AsciiScan.hpp"
#include "TarvTerminal/Text/Grapheme.hpp"
#include "TarvTerminal/Text/TextSlicing.hpp"

namespace tarv::ui {

DiffDisplayLine::DiffDisplayLine(std::string displayText) : text_(std::move(displayText)) {
    simple_ = terminal::detail::printableAsciiRun(text_.data(), text_.size()) == text_.size();
    if (simple_) return;
    terminal::GraphemeCursor cursor(text_);
    terminal::Grapheme g;
    std::uint32_t column = 0;
    while (true) {
        const auto at = static_cast<std::uint32_t>(cursor.position());
        if (!cursor.next(g)) break;
        bytes_.push_back(at);
        columns_.push_back(column);
        column += static_cast<std::uint32_t>(g.width);
    }
    bytes_.push_back(static_cast<std::uint32_t>(text_.size()));
    columns_.push_back(column);
}

DiffDisplayLine DiffDisplayLine::of(const core::DiffLine& line) {
    if (line.kind == core::DiffLine::Kind::noNewlineMarker) {
        return DiffDisplayLine("\\ " + terminal::TextSlicing::displayable(line.text));
    }
    return DiffDisplayLine(terminal::TextSlicing::displayable(line.text));
}

std::int64_t DiffDisplayLine::column(std::int64_t index) const {
    const std::int64_t count = characterCount();
    const std::int64_t i = std::clamp<std::int64_t>(index, 0, count);
    return simple_ ? i : columns_[static_cast<std::size_t>(i)];
}

std::int64_t DiffDisplayLine::characterAt(std::int64_t column) const {
    if (column <= 0) return 0;
    if (column >= width()) return characterCount();
    if (simple_) return column;
    const auto count = static_cast<std::ptrdiff_t>(columns_.size() - 1);
    const auto target = static_cast<std::uint32_t>(column);
    const auto after = std::upper_bound(columns_.begin(), columns_.begin() + count, target);
    return static_cast<std::int64_t>(after - columns_.begin()) - 1;
}

std::pair<std::int64_t, std::int64_t> DiffDisplayLine::columns(std::int64_t start, std::int64_t end) const {
    const std::int64_t from = column(start);
    return {from, std::max(from, column(end))};
}

std::string_view DiffDisplayLine::slice(std::int64_t startColumn, std::int64_t width, std::string& scratch) const {
    if (!simple_) {
        scratch = slice(startColumn, width);
        return scratch;
    }
    const auto size = static_cast<std::int64_t>(text_.size());
    startColumn = std::max<std::int64_t>(startColumn, 0);
    if (width < 1 || startColumn >= size) return {};
    return std::string_view(text_).substr(static_cast<std::size_t>(startColumn),
                                          static_cast<std::size_t>(std::min(width, size - startColumn)));
}

std::string DiffDisplayLine::slice(std::int64_t startColumn, std::int64_t width) const {
    if (width < 1) return {};
    startColumn = std::max<std::int64_t>(startColumn, 0);
    if (simple_) {
        const auto size = static_cast<std::int64_t>(text_.size());
        if (startColumn >= size) return {};
        return text_.substr(static_cast<std::size_t>(startColumn),
                            static_cast<std::size_t>(std::min(width, size - startColumn)));
    }
    // Characters from the one covering `startColumn` (zero-width ones that
    // start there included) up to the last one starting at the window's end.
    const auto count = columns_.size() - 1;
    const auto first = columns_.begin();
    const auto start = static_cast<std::uint32_t>(std::min<std::int64_t>(startColumn, UINT32_MAX));
    auto i = static_cast<std::size_t>(std::lower_bound(first, first + static_cast<std::ptrdiff_t>(count), start) - first);
    if (i > 0 && columns_[i] > start) --i;
    if (i >= count) return {};
    const auto stop = static_cast<std::uint32_t>(std::min<std::int64_t>(startColumn + width, UINT32_MAX));
    const auto j = static_cast<std::size_t>(
        std::upper_bound(first + static_cast<std::ptrdiff_t>(i), first + static_cast<std::ptrdiff_t>(count), stop) -
        first);
    const std::string_view piece = std::string_view(text_).substr(bytes_[i], bytes_[j] - bytes_[i]);
    return terminal::TextSlicing::slice(piece, startColumn - columns_[i], width);
}

}  // namespace tarv::ui
