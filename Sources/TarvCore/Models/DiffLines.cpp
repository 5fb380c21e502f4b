#include "TarvCore/Models/DiffLines.hpp"

#include <limits>
#include <stdexcept>

namespace tarv::core {

namespace {

constexpr std::uint64_t kMaxCompactOffset = (std::uint64_t{1} << 48) - 1;

bool fitsNumber(const std::optional<std::int64_t>& number) {
    return !number || (*number >= 0 && *number < std::int64_t{0xFFFFFFFF});
}

}  // namespace

DiffLines::DiffLines(std::initializer_list<DiffLine> lines) {
    reserve(lines.size());
    for (const DiffLine& line : lines) push_back(line);
}

DiffLines::DiffLines(std::shared_ptr<const Bytes> buffer) : buffer_(std::move(buffer)) {}

bool DiffLines::fits(const Wide& line) {
    return line.offset <= kMaxCompactOffset && line.length < 0xFFFFFFFFu && fitsNumber(line.oldNumber) &&
           fitsNumber(line.newNumber);
}

DiffLines::Compact DiffLines::compact(const Wide& line) {
    const auto number = [](const std::optional<std::int64_t>& n) {
        return n ? static_cast<std::uint32_t>(*n) : absentNumber;
    };
    Compact c;
    c.offsetLow = static_cast<std::uint32_t>(line.offset);
    c.offsetHigh = static_cast<std::uint16_t>(static_cast<std::uint64_t>(line.offset) >> 32);
    c.kind = static_cast<std::uint8_t>(line.kind);
    c.length = static_cast<std::uint32_t>(line.length);
    c.oldNumber = number(line.oldNumber);
    c.newNumber = number(line.newNumber);
    return c;
}

DiffLines::Wide DiffLines::wide(std::size_t index) const {
    if (!wide_.empty()) return wide_[index];
    const Compact& c = compact_[index];
    const auto number = [](std::uint32_t n) {
        return n == absentNumber ? std::nullopt : std::optional<std::int64_t>(n);
    };
    return Wide{static_cast<std::size_t>(c.offsetLow) | (static_cast<std::size_t>(c.offsetHigh) << 32), c.length,
                static_cast<DiffLine::Kind>(c.kind), number(c.oldNumber), number(c.newNumber)};
}

std::string_view DiffLines::textOf(std::size_t offset, std::size_t length) const {
    if (length == 0) return {};
    return std::string_view(reinterpret_cast<const char*>(buffer_->data()) + offset, length);
}

const DiffLine DiffLines::operator[](std::size_t index) const {
    const Wide line = wide(index);
    return DiffLine{line.kind, textOf(line.offset, line.length), line.oldNumber, line.newNumber};
}

const DiffLine DiffLines::at(std::size_t index) const {
    if (index >= size()) throw std::out_of_range("DiffLines::at");
    return (*this)[index];
}

void DiffLines::reserve(std::size_t count) {
    if (wide_.empty()) {
        compact_.reserve(count);
    } else {
        wide_.reserve(count);
    }
}

void DiffLines::goWide() {
    std::vector<Wide> lines;
    lines.reserve(compact_.capacity());
    for (std::size_t i = 0; i < compact_.size(); ++i) lines.push_back(wide(i));
    wide_ = std::move(lines);
    std::vector<Compact>().swap(compact_);
}

void DiffLines::add(const Wide& line) {
    if (wide_.empty() && !fits(line)) goWide();
    if (wide_.empty()) {
        compact_.push_back(compact(line));
    } else {
        wide_.push_back(line);
    }
}

Bytes& DiffLines::ownBuffer() {
    if (appendable_ && buffer_.use_count() == 1) return const_cast<Bytes&>(*buffer_);
    // Copies this container's texts only: a hunk of a parsed diff shares
    // the whole output with the other hunks.
    auto own = std::make_shared<Bytes>();
    const std::size_t count = size();
    std::vector<Wide> lines;
    lines.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        Wide line = wide(i);
        const std::string_view text = textOf(line.offset, line.length);
        line.offset = own->size();
        own->insert(own->end(), text.begin(), text.end());
        lines.push_back(line);
    }
    compact_.clear();
    wide_.clear();
    buffer_ = own;
    appendable_ = true;
    for (const Wide& line : lines) add(line);
    return *own;
}

void DiffLines::push_back(const DiffLine& line) {
    // The text may view this container's own buffer, which appending can
    // move: append a copy.
    const Bytes text(line.text.begin(), line.text.end());
    Bytes& buffer = ownBuffer();
    const std::size_t offset = buffer.size();
    buffer.insert(buffer.end(), text.begin(), text.end());
    add(Wide{offset, text.size(), line.kind, line.oldNumber, line.newNumber});
}

void DiffLines::set(std::size_t index, const DiffLine& line) {
    if (index >= size()) throw std::out_of_range("DiffLines::set");
    const Bytes text(line.text.begin(), line.text.end());
    Bytes& buffer = ownBuffer();
    const Wide replacement{buffer.size(), text.size(), line.kind, line.oldNumber, line.newNumber};
    buffer.insert(buffer.end(), text.begin(), text.end());
    if (wide_.empty() && !fits(replacement)) goWide();
    if (wide_.empty()) {
        compact_[index] = compact(replacement);
    } else {
        wide_[index] = replacement;
    }
}

void DiffLines::appendView(DiffLine::Kind kind, std::size_t offset, std::size_t length,
                           std::optional<std::int64_t> oldNumber, std::optional<std::int64_t> newNumber) {
    if (!buffer_ || offset > buffer_->size() || length > buffer_->size() - offset) {
        throw std::out_of_range("DiffLines::appendView");
    }
    add(Wide{offset, length, kind, oldNumber, newNumber});
}

bool DiffLines::operator==(const DiffLines& other) const {
    const std::size_t count = size();
    if (count != other.size()) return false;
    for (std::size_t i = 0; i < count; ++i) {
        if ((*this)[i] != other[i]) return false;
    }
    return true;
}

}  // namespace tarv::core
