#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tarv::core {

// One line of a diff hunk, as `DiffLines` stores and gives it. A view: `text`
// points into the bytes of the hunk it was read from (or, for a line being
// built, into the string it was made from) and is valid only as long as
// those; `DiffLines::push_back` copies it.
struct DiffLine {
    enum class Kind { context, added, removed, noNewlineMarker };
    static constexpr std::array<Kind, 4> allKinds = {Kind::context, Kind::added, Kind::removed, Kind::noNewlineMarker};

    Kind kind = Kind::context;
    // The line without git's one-character marker and without the line feed
    // (a carriage return before it stays); for a no-newline marker, the
    // marker line without its first two characters. The bytes exactly as git
    // wrote them, never repaired: staging a chosen line writes them back.
    std::string_view text;
    // 1-based line number in the old file: context and removed lines only.
    std::optional<std::int64_t> oldNumber = std::nullopt;
    // 1-based line number in the new file: context and added lines only.
    std::optional<std::int64_t> newNumber = std::nullopt;

    bool operator==(const DiffLine&) const = default;
};

}  // namespace tarv::core
