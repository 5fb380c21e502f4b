#include "TarvCore/Models/GitVersion.hpp"

#include <charconv>
#include <vector>

#include "TarvCore/Text/Graphemes.hpp"
#include "TarvCore/Text/Split.hpp"
#include "TarvCore/Text/Unicode.hpp"

namespace tarv::core {

namespace {

// Words of the text between white-space characters, empty ones dropped.
std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    std::size_t position = 0;
    text::forEachGrapheme(text, [&](std::string_view character) {
        if (text::isWhitespace(character)) {
            if (position > start) out.push_back(text.substr(start, position - start));
            start = position + character.size();
        }
        position += character.size();
    });
    if (position > start) out.push_back(text.substr(start, position - start));
    return out;
}

// The number formed by the piece's leading run of numeric characters; none
// when there is no such run or it is not a representable decimal integer.
std::optional<std::int64_t> leadingNumber(std::string_view piece) {
    std::size_t end = 0;
    while (end < piece.size()) {
        const std::size_t next = text::nextGraphemeBoundary(piece, end);
        if (!text::isNumber(piece.substr(end, next - end))) break;
        end = next;
    }
    if (end == 0) return std::nullopt;
    std::int64_t value = 0;
    const auto [ptr, error] = std::from_chars(piece.data(), piece.data() + end, value);
    if (error != std::errc() || ptr != piece.data() + end) return std::nullopt;
    return value;
}

}  // namespace

std::optional<GitVersion> GitVersion::parse(std::string_view output) {
    const auto all = words(output);
    std::size_t at = 0;
    while (at < all.size() && all[at] != "version") ++at;
    if (at + 1 >= all.size()) return std::nullopt;
    const auto pieces = text::split(all[at + 1], '.');
    if (pieces.size() < 2) return std::nullopt;
    const auto first = leadingNumber(pieces[0]);
    const auto second = leadingNumber(pieces[1]);
    if (!first || !second) return std::nullopt;
    const auto third = pieces.size() > 2 ? leadingNumber(pieces[2]) : std::nullopt;
    return GitVersion{*first, *second, third.value_or(0)};
}

std::string GitVersion::description() const {
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch);
}

}  // namespace tarv::core
