#include "TarvCore/Models/EditableText.hpp"

#include <algorithm>
#include <type_traits>

#include "TarvCore/Text/Graphemes.hpp"
#include "TarvCore/Text/Utf8.hpp"

namespace tarv::core {

namespace {

bool isLineFeed(const std::string& character) { return character == "\n"; }

// A character whose first scalar breaks a line: U+000A to U+000D, U+0085,
// U+2028, U+2029 (CR LF included).
bool startsWithLineBreak(const std::string& character) {
    const char32_t c = text::firstScalar(character);
    return (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

// CR LF and lone CR become LF.
std::string unifyLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out.push_back('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

}  // namespace

EditableText::EditableText(std::string_view text, bool multiline)
    : characters_(text::graphemes(text)),
      cursor_(static_cast<std::int64_t>(characters_.size())),
      allowsNewlines_(multiline) {}

std::string EditableText::text() const {
    std::string out;
    for (const auto& character : characters_) out += character;
    return out;
}

void EditableText::setText(std::string_view text) {
    characters_ = text::graphemes(text);
    cursor_ = static_cast<std::int64_t>(characters_.size());
}

void EditableText::setCursor(std::int64_t index) {
    cursor_ = std::clamp<std::int64_t>(index, 0, static_cast<std::int64_t>(characters_.size()));
}

std::vector<std::string> EditableText::lines() const {
    std::vector<std::string> out(1);
    for (const auto& character : characters_) {
        if (isLineFeed(character)) {
            out.emplace_back();
        } else {
            out.back() += character;
        }
    }
    return out;
}

EditableText::Position EditableText::cursorPosition() const {
    const auto cursor = static_cast<std::size_t>(cursor_);
    std::int64_t row = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < cursor; ++i) {
        if (isLineFeed(characters_[i])) {
            ++row;
            start = i + 1;
        }
    }
    return {row, static_cast<std::int64_t>(cursor - start)};
}

std::size_t EditableText::lineStart() const {
    std::size_t i = static_cast<std::size_t>(cursor_);
    while (i > 0 && !isLineFeed(characters_[i - 1])) --i;
    return i;
}

std::size_t EditableText::lineEnd() const {
    std::size_t i = static_cast<std::size_t>(cursor_);
    while (i < characters_.size() && !isLineFeed(characters_[i])) ++i;
    return i;
}

void EditableText::insertCharacters(std::vector<std::string> characters) {
    if (characters.empty()) return;
    const auto at = characters_.begin() + cursor_;
    characters_.insert(at, std::make_move_iterator(characters.begin()), std::make_move_iterator(characters.end()));
    cursor_ += static_cast<std::int64_t>(characters.size());
}

void EditableText::erase(std::size_t from, std::size_t to) {
    characters_.erase(characters_.begin() + static_cast<std::ptrdiff_t>(from),
                      characters_.begin() + static_cast<std::ptrdiff_t>(to));
}

void EditableText::moveVertically(bool up) {
    const std::size_t cursor = static_cast<std::size_t>(cursor_);
    const std::size_t start = lineStart();
    const std::size_t column = cursor - start;
    if (up) {
        if (start == 0) return;
        const std::size_t previousEnd = start - 1;  // the line feed that ends the previous line
        std::size_t previousStart = previousEnd;
        while (previousStart > 0 && !isLineFeed(characters_[previousStart - 1])) --previousStart;
        cursor_ = static_cast<std::int64_t>(std::min(previousStart + column, previousEnd));
    } else {
        const std::size_t end = lineEnd();
        if (cursor == characters_.size() || end == characters_.size()) return;
        const std::size_t nextStart = end + 1;
        std::size_t nextEnd = nextStart;
        while (nextEnd < characters_.size() && !isLineFeed(characters_[nextEnd])) ++nextEnd;
        cursor_ = static_cast<std::int64_t>(std::min(nextStart + column, nextEnd));
    }
}

void EditableText::apply(const TextEdit& edit) {
    const std::size_t count = characters_.size();
    const std::size_t cursor = static_cast<std::size_t>(cursor_);
    std::visit(
        [&](const auto& e) {
            using E = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<E, TextEdit::Insert>) {
                std::vector<std::string> inserted;
                if (allowsNewlines_) {
                    inserted = text::graphemes(unifyLineEnds(e.text));
                } else {
                    for (auto& character : text::graphemes(e.text)) {
                        if (!startsWithLineBreak(character)) inserted.push_back(std::move(character));
                    }
                }
                insertCharacters(std::move(inserted));
            } else if constexpr (std::is_same_v<E, TextEdit::Newline>) {
                if (allowsNewlines_) insertCharacters({"\n"});
            } else if constexpr (std::is_same_v<E, TextEdit::Backspace>) {
                if (cursor > 0) {
                    erase(cursor - 1, cursor);
                    --cursor_;
                }
            } else if constexpr (std::is_same_v<E, TextEdit::DeleteForward>) {
                if (cursor < count) erase(cursor, cursor + 1);
            } else if constexpr (std::is_same_v<E, TextEdit::MoveLeft>) {
                if (cursor > 0) --cursor_;
            } else if constexpr (std::is_same_v<E, TextEdit::MoveRight>) {
                if (cursor < count) ++cursor_;
            } else if constexpr (std::is_same_v<E, TextEdit::MoveUp>) {
                moveVertically(true);
            } else if constexpr (std::is_same_v<E, TextEdit::MoveDown>) {
                moveVertically(false);
            } else if constexpr (std::is_same_v<E, TextEdit::MoveToLineStart>) {
                cursor_ = static_cast<std::int64_t>(lineStart());
            } else if constexpr (std::is_same_v<E, TextEdit::MoveToLineEnd>) {
                cursor_ = static_cast<std::int64_t>(lineEnd());
            } else if constexpr (std::is_same_v<E, TextEdit::DeleteToLineStart>) {
                const std::size_t start = lineStart();
                erase(start, cursor);
                cursor_ = static_cast<std::int64_t>(start);
            } else if constexpr (std::is_same_v<E, TextEdit::DeleteToLineEnd>) {
                erase(cursor, lineEnd());
            } else if constexpr (std::is_same_v<E, TextEdit::DeleteWordBackward>) {
                std::size_t i = cursor;
                while (i > 0 && characters_[i - 1] == " ") --i;
                while (i > 0 && characters_[i - 1] != " " && !isLineFeed(characters_[i - 1])) --i;
                erase(i, cursor);
                cursor_ = static_cast<std::int64_t>(i);
            } else {
                static_assert(std::is_same_v<E, TextEdit::DeleteWordBackward>, "every edit is handled");
            }
        },
        edit.value);
}

}  // namespace tarv::core
