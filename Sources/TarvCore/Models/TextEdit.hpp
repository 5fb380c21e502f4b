#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace tarv::core {

// One edit of an EditableText, produced by the input router from key presses
// and pasted text.
struct TextEdit {
    struct Insert {
        std::string text;
        bool operator==(const Insert&) const = default;
    };
    struct Name {
        bool operator==(const Name&) const = default;
    };
    struct Newline {
        bool operator==(const Newline&) const = default;
    };
    struct Backspace {
        bool operator==(const Backspace&) const = default;
    };
    struct DeleteForward {
        bool operator==(const DeleteForward&) const = default;
    };
    struct MoveLeft {
        bool operator==(const MoveLeft&) const = default;
    };
    struct MoveRight {
        bool operator==(const MoveRight&) const = default;
    };
    struct MoveUp {
        bool operator==(const MoveUp&) const = default;
    };
    struct MoveDown {
        bool operator==(const MoveDown&) const = default;
    };
    struct MoveToLineStart {
        bool operator==(const MoveToLineStart&) const = default;
    };
    struct MoveToLineEnd {
        bool operator==(const MoveToLineEnd&) const = default;
    };
    struct DeleteToLineStart {
        bool operator==(const DeleteToLineStart&) const = default;
    };
    struct DeleteToLineEnd {
        bool operator==(const DeleteToLineEnd&) const = default;
    };
    struct DeleteWordBackward {
        bool operator==(const DeleteWordBackward&) const = default;
    };

    using Value = std::variant<Insert, Newline, Backspace, DeleteForward, MoveLeft, MoveRight, MoveUp, MoveDown,
                               MoveToLineStart, MoveToLineEnd, DeleteToLineStart, DeleteToLineEnd, DeleteWordBackward>;
    Value value;

    template <class Case>
        requires std::is_constructible_v<Value, Case&&>
    TextEdit(Case&& edit) : value(std::forward<Case>(edit)) {}  // NOLINT: implicit on purpose

    static TextEdit insert(std::string text) { return Insert{std::move(text)}; }
    static TextEdit newline() { return Newline{}; }
    static TextEdit backspace() { return Backspace{}; }
    static TextEdit deleteForward() { return DeleteForward{}; }
    static TextEdit moveLeft() { return MoveLeft{}; }
    static TextEdit moveRight() { return MoveRight{}; }
    static TextEdit moveUp() { return MoveUp{}; }
    static TextEdit moveDown() { return MoveDown{}; }
    static TextEdit moveToLineStart() { return MoveToLineStart{}; }
    static TextEdit moveToLineEnd() { return MoveToLineEnd{}; }
    static TextEdit deleteToLineStart() { return DeleteToLineStart{}; }
    static TextEdit deleteToLineEnd() { return DeleteToLineEnd{}; }
    static TextEdit deleteWordBackward() { return DeleteWordBackward{}; }

    bool operator==(const TextEdit&) const = default;
};

}  // namespace tarv::core
