#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "TarvCore/Models/DiffLine.hpp"

namespace tarv::ui {

// One diff line as the diff pane shows it, measured once so that every frame
// only cuts out the visible columns.
//
// `text` is the display text: tabs expanded to stops of 4 and every control
// character shown as "·" (`TextSlicing::displayable`); a no-newline marker
// reads "\ " followed by its message. Characters are grapheme clusters,
// counted from 0. The column map gives the first column of every character
// and, as its last entry, the total width; the byte map gives where each
// character starts in `text`. A line of printable ASCII keeps no maps: there
// character, byte and column are the same number.
class DiffDisplayLine {
public:
    DiffDisplayLine() = default;
    explicit DiffDisplayLine(std::string displayText);

    // The display form of a diff line.
    static DiffDisplayLine of(const core::DiffLine& line);

    const std::string& text() const { return text_; }
    // True for a line of printable ASCII: every column holds a character of
    // its own, so drawing the text covers every column it spans.
    bool isPlainAscii() const { return simple_; }
    std::int64_t width() const { return simple_ ? static_cast<std::int64_t>(text_.size()) : columns_.back(); }
    std::int64_t characterCount() const {
        return simple_ ? static_cast<std::int64_t>(text_.size()) : static_cast<std::int64_t>(columns_.size()) - 1;
    }

    // The first column of character `index`; the total width for an index
    // at or past the end, 0 for a negative one.
    std::int64_t column(std::int64_t index) const;

    // The character covering `column` (the last one starting at or before
    // it); 0 for a negative column, the count at or past the end.
    std::int64_t characterAt(std::int64_t column) const;

    // The columns covered by the characters start ..< end (clamped to the
    // line), as a half-open range.
    std::pair<std::int64_t, std::int64_t> columns(std::int64_t start, std::int64_t end) const;

    // The columns startColumn ..< startColumn + width of the display text,
    // exactly as `TextSlicing::slice` gives them for the whole text, at a cost
    // that follows the width asked for and not the length of the line.
    std::string slice(std::int64_t startColumn, std::int64_t width) const;

    // The same, as a view: into the display text itself for a line of
    // printable ASCII, else into `scratch`, which it overwrites.
    std::string_view slice(std::int64_t startColumn, std::int64_t width, std::string& scratch) const;

    // Bytes held, for the cache's budget.
    std::size_t memoryBytes() const {
        return text_.capacity() + (columns_.capacity() + bytes_.capacity()) * sizeof(std::uint32_t);
    }

private:
    std::string text_;
    bool simple_ = true;
    std::vector<std::uint32_t> columns_;  // count + 1 entries unless simple
    std::vector<std::uint32_t> bytes_;    // count + 1 entries unless simple
};

}  // namespace tarv::ui
