#include "TarvEngine/Parsers/DiffParser.hpp"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "TarvCore/Text/Split.hpp"
#include "TarvEngine/Parsers/ByteText.hpp"

namespace tarv::engine {

namespace {

using core::Diff;
using core::DiffHunk;
using core::DiffLine;

struct Range {
    std::int64_t start;
    std::int64_t count;
};

// "start" or "start,count"; a missing, empty or unreadable count is 1.
std::optional<Range> parseRange(std::string_view text) {
    std::size_t comma = text.find(',');
    auto start = bytes::decimal(text.substr(0, comma));
    if (!start) return std::nullopt;
    std::int64_t count = 1;
    if (comma != std::string_view::npos) {
        std::string_view rest = text.substr(comma + 1);
        std::string_view second = rest.substr(0, rest.find(','));
        if (auto value = bytes::decimal(second)) count = *value;
    }
    return Range{*start, count};
}

std::optional<DiffHunk> parseHeader(std::string_view line) {
    auto pieces = core::text::split(line, ' ', {.maxSplits = 4});
    if (pieces.size() < 3) return std::nullopt;
    if (!pieces[1].starts_with('-') || !pieces[2].starts_with('+')) return std::nullopt;
    auto oldRange = parseRange(pieces[1].substr(1));
    if (!oldRange) return std::nullopt;
    auto newRange = parseRange(pieces[2].substr(1));
    if (!newRange) return std::nullopt;
    DiffHunk hunk;
    hunk.header = std::string(line);
    hunk.oldStart = oldRange->start;
    hunk.oldCount = oldRange->count;
    hunk.newStart = newRange->start;
    hunk.newCount = newRange->count;
    return hunk;
}

// Line numbers stop at the largest value instead of overflowing on absurd
// headers.
void advance(std::int64_t& counter) {
    if (counter != std::numeric_limits<std::int64_t>::max()) ++counter;
}

}  // namespace

Diff DiffParser::parse(std::string_view text) { return parseOutput(core::toBytes(text)); }

Diff DiffParser::parseBytes(const std::uint8_t* data, std::size_t length) {
    return parseOutput(length == 0 ? core::Bytes{} : core::Bytes(data, data + length));
}

Diff DiffParser::parseOutput(core::Bytes&& output) {
    Diff diff;
    if (output.empty()) return diff;
    const auto buffer = std::make_shared<const core::Bytes>(std::move(output));
    const std::size_t length = buffer->size();
    const char* base = reinterpret_cast<const char*>(buffer->data());
    // The open hunk lives in `diff.hunks` from the moment its header is read.
    DiffHunk* open = nullptr;
    std::int64_t oldLine = 0;
    std::int64_t newLine = 0;
    // A line's text from byte `skip` of the line on, as a view of the buffer.
    const auto append = [&](DiffLine::Kind kind, std::string_view line, std::size_t skip,
                            std::optional<std::int64_t> oldNumber, std::optional<std::int64_t> newNumber) {
        const std::size_t from = std::min(skip, line.size());
        open->lines.appendView(kind, static_cast<std::size_t>(line.data() - base) + from, line.size() - from,
                               oldNumber, newNumber);
    };

    std::size_t position = 0;
    while (position < length) {
        const void* found = std::memchr(base + position, '\n', length - position);
        std::size_t end = found ? static_cast<std::size_t>(static_cast<const char*>(found) - base) : length;
        std::string_view line(base + position, end - position);
        position = end + 1;

        if (line.size() >= 2 && line[0] == '@' && line[1] == '@') {
            if (auto hunk = parseHeader(line)) {
                oldLine = hunk->oldStart;
                newLine = hunk->newStart;
                hunk->lines = core::DiffLines(buffer);
                open = &diff.hunks.emplace_back(std::move(*hunk));
                // Room for the lines the header announces, but never more than
                // the rest of the input can hold (each line takes two bytes).
                const auto announced = static_cast<std::uint64_t>(std::max<std::int64_t>(open->oldCount, 0)) +
                                       static_cast<std::uint64_t>(std::max<std::int64_t>(open->newCount, 0));
                const std::size_t remaining = position < length ? length - position : 0;
                open->lines.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(announced, remaining / 2)));
                continue;
            }
        }
        if (!open) {
            if (line.size() < 13) continue;
            if (line.starts_with("Binary files ") || line.starts_with("GIT binary patch")) diff.isBinary = true;
            continue;
        }
        if (line.empty()) continue;
        // A new file section (git writes two for one path whose type
        // changed) ends the open hunk; its header lines are skipped.
        if (line.starts_with("diff ")) {
            open = nullptr;
            continue;
        }
        switch (line[0]) {
            case '-':
                append(DiffLine::Kind::removed, line, 1, oldLine, std::nullopt);
                advance(oldLine);
                break;
            case ' ':
                append(DiffLine::Kind::context, line, 1, oldLine, newLine);
                advance(oldLine);
                advance(newLine);
                break;
            case '+':
                append(DiffLine::Kind::added, line, 1, std::nullopt, newLine);
                advance(newLine);
                break;
            case '\\':
                append(DiffLine::Kind::noNewlineMarker, line, 2, std::nullopt, std::nullopt);
                break;
            default:
                break;
        }
    }
    return diff;
}

}  // namespace tarv::engine
