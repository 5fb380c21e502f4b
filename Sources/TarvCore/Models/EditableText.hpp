#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "TarvCore/Models/TextEdit.hpp"

namespace tarv::core {

// The text of an input field or text area: a list of characters (grapheme
// clusters: a base with its combining marks, an emoji with its modifiers, a
// flag are each one element) and a cursor, changed through TextEdit values.
// A line feed is the character "\n"; CR LF is one character that is not a
// line feed.
class EditableText {
public:
    struct Position {
        // Line feeds before the cursor.
        std::int64_t row = 0;
        // Characters between the last of those line feeds (or the start) and
        // the cursor.
        std::int64_t column = 0;
        bool operator==(const Position&) const = default;
    };

    // The text's characters unchanged (no line-end conversion or filtering,
    // even in a single-line field; ill-formed UTF-8 becomes U+FFFD), the
    // cursor at the end. `multiline`: a text area, which allows newlines.
    explicit EditableText(std::string_view text = "", bool multiline = false);

    const std::vector<std::string>& characters() const { return characters_; }
    // 0 ... characters().size(); the count means after the last character.
    std::int64_t cursor() const { return cursor_; }
    bool allowsNewlines() const { return allowsNewlines_; }

    std::string text() const;
    bool isEmpty() const { return characters_.empty(); }

    // Replaces every character, unchanged; the cursor goes to the end.
    void setText(std::string_view text);
    // Clamped to 0 ... count.
    void setCursor(std::int64_t index);

    // The text cut at every line feed, empty pieces kept ("" gives one empty
    // line; a final line feed gives a final empty line).
    std::vector<std::string> lines() const;
    Position cursorPosition() const;

    // Changes the text in place. Never fails: at the edges an edit does
    // nothing or clamps.
    void apply(const TextEdit& edit);

    bool operator==(const EditableText&) const = default;

private:
    std::size_t lineStart() const;
    std::size_t lineEnd() const;
    void insertCharacters(std::vector<std::string> characters);
    void erase(std::size_t from, std::size_t to);
    void moveVertically(bool up);

    std::vector<std::string> characters_;
    std::int64_t cursor_ = 0;
    bool allowsNewlines_ = false;
};

}  // namespace tarv::core
