#pragma once

#include "TarvCore/Models/ConflictBlock.hpp"
#include "TarvCore/Models/ConflictChoice.hpp"
#include "TarvCore/Models/ConflictRow.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace tarv::core {

// A file's text cut into plain lines and the conflict blocks that git's
// conflict markers ("<<<<<<<", "|||||||", "=======", ">>>>>>>") delimit.
struct ConflictDocument {
    struct Segment {
        // Lines outside any conflict, without their line feed.
        struct Text {
            std::vector<std::string> lines;
            bool operator==(const Text&) const = default;
        };
        struct Conflict {
            ConflictBlock block;
            bool operator==(const Conflict&) const = default;
        };

        using Value = std::variant<Text, Conflict>;
        Value value;

        template <class Case>
            requires std::is_constructible_v<Value, Case&&>
        Segment(Case&& segment) : value(std::forward<Case>(segment)) {}  // NOLINT: implicit on purpose

        bool operator==(const Segment&) const = default;
    };

    std::vector<Segment> segments;
    // The text ended with a line feed.
    bool endsWithNewline = true;

    bool operator==(const ConflictDocument&) const = default;

    // Parses a file's text. Never fails: an unterminated block stays plain
    // text. The common-ancestor section of a diff3-style block is dropped.
    static ConflictDocument parse(std::string_view text);

    // The conflict blocks, in order.
    std::vector<ConflictBlock> blocks() const;
    std::int64_t conflictCount() const;
    bool hasConflicts() const;

    // The resolver's rows: plain lines as context; per block a header, the
    // actions, the current label and lines, the incoming label and lines.
    std::vector<ConflictRow> rows() const;

    // Index in `rows()` of the header row of a block; none when there is no
    // such block.
    std::optional<std::int64_t> headerRow(std::int64_t block) const;

    // A copy with the block replaced by the chosen side(s); neighbouring
    // plain text is merged. An index that names no block changes nothing else.
    ConflictDocument resolving(std::int64_t block, ConflictChoice choice) const;

    // The text: unresolved blocks written back with their markers (no base
    // section), lines joined by line feeds.
    std::string render() const;
};

}  // namespace tarv::core
