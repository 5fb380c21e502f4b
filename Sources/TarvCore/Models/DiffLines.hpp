#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "TarvCore/Models/Bytes.hpp"
#include "TarvCore/Models/DiffLine.hpp"

namespace tarv::core {

// The lines of one hunk, kept small: a diff of a file of millions of lines
// must cost little more than git's output itself.
//
// The line texts live in one byte buffer shared by every copy (for a parsed
// diff, git's whole output, which every hunk of the diff shares); a line is a
// record of where its text starts, its length, its kind and its two numbers
// (20 bytes). Numbers that do not fit the record (negative, or 2^32 - 1 and
// above) and texts of 4 GiB or more switch the container to full records.
//
// Reading gives `DiffLine` values whose text views the buffer: valid while
// this container (or a copy of it) lives and is not changed, like a reference
// into a vector. The buffer is never changed while shared: appending to a
// container whose buffer another container holds first copies its own texts
// into a buffer of its own.
class DiffLines {
public:
    class const_iterator;
    using value_type = DiffLine;
    using size_type = std::size_t;
    using iterator = const_iterator;

    DiffLines() = default;
    DiffLines(std::initializer_list<DiffLine> lines);
    // Lines that will view `buffer` (see appendView). The buffer is shared,
    // never changed.
    explicit DiffLines(std::shared_ptr<const Bytes> buffer);

    std::size_t size() const { return wide_.empty() ? compact_.size() : wide_.size(); }
    bool empty() const { return size() == 0; }

    // Line `index` (below size()). Returned const: a line is changed with `set`.
    const DiffLine operator[](std::size_t index) const;
    const DiffLine at(std::size_t index) const;
    const DiffLine front() const { return (*this)[0]; }
    const DiffLine back() const { return (*this)[size() - 1]; }

    const_iterator begin() const;
    const_iterator end() const;

    void reserve(std::size_t count);
    // Appends a copy of `line`, its text included.
    void push_back(const DiffLine& line);
    // Replaces line `index` (below size()) with a copy of `line`.
    void set(std::size_t index, const DiffLine& line);
    // Appends a line whose text is bytes [offset, offset + length) of the
    // buffer given at construction, without copying them.
    void appendView(DiffLine::Kind kind, std::size_t offset, std::size_t length, std::optional<std::int64_t> oldNumber,
                    std::optional<std::int64_t> newNumber);

    // Line by line: kinds, texts and numbers.
    bool operator==(const DiffLines& other) const;

private:
    // A line whose numbers and length fit in 32 bits; the text starts at
    // `offsetLow + offsetHigh * 2^32` in the buffer.
    struct Compact {
        std::uint32_t offsetLow = 0;
        std::uint16_t offsetHigh = 0;
        std::uint8_t kind = 0;
        std::uint32_t length = 0;
        std::uint32_t oldNumber = 0;  // absentNumber when absent
        std::uint32_t newNumber = 0;
    };
    static_assert(sizeof(Compact) == 20);
    struct Wide {
        std::size_t offset = 0;
        std::size_t length = 0;
        DiffLine::Kind kind = DiffLine::Kind::context;
        std::optional<std::int64_t> oldNumber;
        std::optional<std::int64_t> newNumber;
    };
    static constexpr std::uint32_t absentNumber = 0xFFFFFFFFu;

    static bool fits(const Wide& line);
    static Compact compact(const Wide& line);
    Wide wide(std::size_t index) const;
    void add(const Wide& line);
    void goWide();
    // Makes the buffer this container's own, so that texts can be added.
    Bytes& ownBuffer();
    std::string_view textOf(std::size_t offset, std::size_t length) const;

    std::shared_ptr<const Bytes> buffer_;
    // True when this container made `buffer_` to add texts to it.
    bool appendable_ = false;
    std::vector<Compact> compact_;
    // Used instead of compact_ once a line does not fit a compact record.
    std::vector<Wide> wide_;
};

// Reads the lines in order; dereferencing gives a DiffLine value.
class DiffLines::const_iterator {
public:
    using iterator_category = std::input_iterator_tag;
    using iterator_concept = std::random_access_iterator_tag;
    using value_type = DiffLine;
    using difference_type = std::ptrdiff_t;
    using reference = const DiffLine;
    using pointer = void;

    const_iterator() = default;
    const_iterator(const DiffLines* lines, std::size_t index) : lines_(lines), index_(index) {}

    // `it->kind` reads the line through a copy held by the returned value.
    struct Arrow {
        DiffLine line;
        const DiffLine* operator->() const { return &line; }
    };

    const DiffLine operator*() const { return (*lines_)[index_]; }
    Arrow operator->() const { return Arrow{**this}; }
    const DiffLine operator[](difference_type n) const { return (*lines_)[index_ + static_cast<std::size_t>(n)]; }
    const_iterator& operator++() { ++index_; return *this; }
    const_iterator operator++(int) { auto old = *this; ++index_; return old; }
    const_iterator& operator--() { --index_; return *this; }
    const_iterator operator--(int) { auto old = *this; --index_; return old; }
    const_iterator& operator+=(difference_type n) { index_ += static_cast<std::size_t>(n); return *this; }
    const_iterator& operator-=(difference_type n) { index_ -= static_cast<std::size_t>(n); return *this; }
    friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
    friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
    friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
    friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
        return static_cast<difference_type>(a.index_) - static_cast<difference_type>(b.index_);
    }
    bool operator==(const const_iterator& other) const { return index_ == other.index_; }
    auto operator<=>(const const_iterator& other) const { return index_ <=> other.index_; }

private:
    const DiffLines* lines_ = nullptr;
    std::size_t index_ = 0;
};

inline DiffLines::const_iterator DiffLines::begin() const { return const_iterator(this, 0); }
inline DiffLines::const_iterator DiffLines::end() const { return const_iterator(this, size()); }

}  // namespace tarv::core
