#include "TarvCore/Models/ConflictDocument.hpp"

#include "TarvCore/Text/Trim.hpp"

namespace tarv::core {

namespace {

constexpr std::string_view openingMarker = "<<<<<<<";
constexpr std::string_view baseMarker = "|||||||";
constexpr std::string_view separatorMarker = "=======";
constexpr std::string_view closingMarker = ">>>>>>>";

std::string_view withoutCR(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

// The marker alone, or the marker followed by a blank and a label.
bool isMarker(std::string_view line, std::string_view marker) {
    const std::string_view l = withoutCR(line);
    if (l.substr(0, marker.size()) != marker) return false;
    return l.size() == marker.size() || l[marker.size()] == ' ';
}

bool isSeparator(std::string_view line) { return withoutCR(line) == separatorMarker; }

std::string label(std::string_view markerLine) {
    return text::trimmed(withoutCR(markerLine).substr(openingMarker.size()));
}

// Reads the block whose opening marker is line `start`; on success returns
// the index of its closing marker.
std::optional<std::size_t> readBlock(const std::vector<std::string_view>& lines, std::size_t start,
                                     ConflictBlock& block) {
    if (start + 1 >= lines.size()) return std::nullopt;
    enum class Section { current, base, incoming } section = Section::current;
    for (std::size_t i = start + 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        switch (section) {
            case Section::current:
                if (isMarker(line, baseMarker)) {
                    section = Section::base;
                } else if (isSeparator(line)) {
                    section = Section::incoming;
                } else {
                    block.current.emplace_back(line);
                }
                break;
            case Section::base:
                if (isSeparator(line)) section = Section::incoming;
                break;
            case Section::incoming:
                if (isMarker(line, closingMarker)) {
                    block.currentLabel = label(lines[start]);
                    block.incomingLabel = label(line);
                    return i;
                }
                block.incoming.emplace_back(line);
                break;
        }
    }
    return std::nullopt;
}

void appendText(std::vector<ConflictDocument::Segment>& segments, std::vector<std::string>&& lines) {
    if (lines.empty()) return;
    if (!segments.empty()) {
        if (auto* last = std::get_if<ConflictDocument::Segment::Text>(&segments.back().value)) {
            last->lines.insert(last->lines.end(), std::make_move_iterator(lines.begin()),
                               std::make_move_iterator(lines.end()));
            return;
        }
    }
    segments.push_back(ConflictDocument::Segment::Text{std::move(lines)});
}

}  // namespace

ConflictDocument ConflictDocument::parse(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, lf - start));
        start = lf + 1;
    }
    ConflictDocument document;
    document.endsWithNewline = lines.back().empty();
    if (document.endsWithNewline) lines.pop_back();

    std::vector<std::string> pending;
    // Once a block fails to close, every later opening marker fails too (the
    // separator or the closing marker it lacks would be missing for them as
    // well), so the rest is plain text. This keeps parsing linear.
    bool blocksPossible = true;
    std::size_t i = 0;
    while (i < lines.size()) {
        if (blocksPossible && isMarker(lines[i], openingMarker)) {
            ConflictBlock block;
            if (const auto close = readBlock(lines, i, block)) {
                if (!pending.empty()) document.segments.push_back(Segment::Text{std::move(pending)});
                pending.clear();
                document.segments.push_back(Segment::Conflict{std::move(block)});
                i = *close + 1;
                continue;
            }
            blocksPossible = false;
        }
        pending.emplace_back(lines[i]);
        ++i;
    }
    if (!pending.empty()) document.segments.push_back(Segment::Text{std::move(pending)});
    return document;
}

std::vector<ConflictBlock> ConflictDocument::blocks() const {
    std::vector<ConflictBlock> result;
    for (const Segment& segment : segments)
        if (const auto* conflict = std::get_if<Segment::Conflict>(&segment.value)) result.push_back(conflict->block);
    return result;
}

std::int64_t ConflictDocument::conflictCount() const {
    std::int64_t count = 0;
    for (const Segment& segment : segments) count += std::holds_alternative<Segment::Conflict>(segment.value);
    return count;
}

bool ConflictDocument::hasConflicts() const { return conflictCount() > 0; }

std::vector<ConflictRow> ConflictDocument::rows() const {
    std::vector<ConflictRow> result;
    std::int64_t b = 0;
    for (const Segment& segment : segments) {
        if (const auto* plain = std::get_if<Segment::Text>(&segment.value)) {
            for (const std::string& line : plain->lines) result.push_back(ConflictRow::Context{line});
            continue;
        }
        const ConflictBlock& block = std::get<Segment::Conflict>(segment.value).block;
        result.push_back(ConflictRow::Header{b});
        result.push_back(ConflictRow::Actions{b});
        result.push_back(ConflictRow::CurrentLabel{b});
        for (const std::string& line : block.current) result.push_back(ConflictRow::Current{b, line});
        result.push_back(ConflictRow::IncomingLabel{b});
        for (const std::string& line : block.incoming) result.push_back(ConflictRow::Incoming{b, line});
        ++b;
    }
    return result;
}

std::optional<std::int64_t> ConflictDocument::headerRow(std::int64_t block) const {
    std::int64_t row = 0;
    std::int64_t b = 0;
    for (const Segment& segment : segments) {
        if (const auto* plain = std::get_if<Segment::Text>(&segment.value)) {
            row += static_cast<std::int64_t>(plain->lines.size());
            continue;
        }
        if (b == block) return row;
        const ConflictBlock& conflict = std::get<Segment::Conflict>(segment.value).block;
        row += 4 + static_cast<std::int64_t>(conflict.current.size() + conflict.incoming.size());
        ++b;
    }
    return std::nullopt;
}

ConflictDocument ConflictDocument::resolving(std::int64_t block, ConflictChoice choice) const {
    ConflictDocument result;
    result.endsWithNewline = endsWithNewline;
    std::int64_t counter = 0;
    for (const Segment& segment : segments) {
        if (const auto* plain = std::get_if<Segment::Text>(&segment.value)) {
            appendText(result.segments, std::vector<std::string>(plain->lines));
            continue;
        }
        const ConflictBlock& conflict = std::get<Segment::Conflict>(segment.value).block;
        if (counter == block) {
            appendText(result.segments, conflict.lines(choice));
        } else {
            result.segments.push_back(segment);
        }
        ++counter;
    }
    return result;
}

std::string ConflictDocument::render() const {
    std::string out;
    bool any = false;
    auto add = [&](std::string_view line) {
        if (any) out.push_back('\n');
        out.append(line);
        any = true;
    };
    for (const Segment& segment : segments) {
        if (const auto* plain = std::get_if<Segment::Text>(&segment.value)) {
            for (const std::string& line : plain->lines) add(line);
            continue;
        }
        const ConflictBlock& block = std::get<Segment::Conflict>(segment.value).block;
        add(text::trimmed(std::string(openingMarker) + " " + block.currentLabel));
        for (const std::string& line : block.current) add(line);
        add(separatorMarker);
        for (const std::string& line : block.incoming) add(line);
        add(text::trimmed(std::string(closingMarker) + " " + block.incomingLabel));
    }
    if (endsWithNewline && any) out.push_back('\n');
    return out;
}

}  // namespace tarv::core
