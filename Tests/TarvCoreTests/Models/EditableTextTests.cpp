#include "TarvCore/Models/EditableText.hpp"

#include <gtest/gtest.h>

namespace tarv::core {
namespace {

// "e" + combining acute, thumbs up + medium skin tone, the flag of Spain, CJK.
const std::string eAcute = "e\xCC\x81";
const std::string thumbsUp = "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD";
const std::string flag = "\xF0\x9F\x87\xAA\xF0\x9F\x87\xB8";
const std::string cjk = "\xE4\xB8\xAD";

EditableText at(std::string text, std::int64_t cursor, bool multiline = false) {
    EditableText value(text, multiline);
    value.setCursor(cursor);
    return value;
}

TEST(EditableTextTest, StartsWithTheCursorAtTheEnd) {
    const EditableText abc("abc");
    EXPECT_EQ(abc.cursor(), 3);
    EXPECT_FALSE(abc.allowsNewlines());
    const EditableText empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(empty.cursor(), 0);
    EXPECT_EQ(empty.lines(), std::vector<std::string>{""});
    // No filtering through the initialiser, even in a single-line field.
    EXPECT_EQ(EditableText("a\r\nb").characters(), (std::vector<std::string>{"a", "\r\n", "b"}));
}

TEST(EditableTextTest, EditsWorkOnWholeCharacters) {
    EditableText text("a" + eAcute + thumbsUp + flag + cjk + "z");
    EXPECT_EQ(text.characters().size(), 6u);
    EXPECT_EQ(text.cursor(), 6);

    text.apply(TextEdit::moveLeft());   // before "z"
    text.apply(TextEdit::backspace());  // removes the CJK character whole
    EXPECT_EQ(text.text(), "a" + eAcute + thumbsUp + flag + "z");
    text.apply(TextEdit::backspace());  // removes both regional indicators of the flag
    EXPECT_EQ(text.text(), "a" + eAcute + thumbsUp + "z");
    text.apply(TextEdit::moveLeft());
    text.apply(TextEdit::deleteForward());  // the emoji with its skin tone
    EXPECT_EQ(text.text(), "a" + eAcute + "z");
    EXPECT_EQ(text.cursor(), 2);
    text.apply(TextEdit::backspace());  // the base letter with its mark
    EXPECT_EQ(text.text(), "az");
    text.apply(TextEdit::insert(flag + cjk));
    EXPECT_EQ(text.text(), "a" + flag + cjk + "z");
    EXPECT_EQ(text.cursor(), 3);
    EXPECT_EQ(text.cursorPosition(), (EditableText::Position{0, 3}));
}

TEST(EditableTextTest, InsertConvertsOrDropsLineBreaks) {
    EditableText field;
    field.apply(TextEdit::insert("a\nb"));
    EXPECT_EQ(field.text(), "ab");
    EXPECT_EQ(field.cursor(), 2);
    field.apply(TextEdit::insert("\r\n\xE2\x80\xA8\xC2\x85\x0B\x0C\r"));
    EXPECT_EQ(field.text(), "ab");
    field.apply(TextEdit::newline());
    EXPECT_EQ(field.text(), "ab");
    field.apply(TextEdit::insert(""));
    EXPECT_EQ(field.cursor(), 2);

    EditableText area("", true);
    area.apply(TextEdit::insert("a\r\nb\rc"));
    EXPECT_EQ(area.text(), "a\nb\nc");
    EXPECT_EQ(area.lines(), (std::vector<std::string>{"a", "b", "c"}));
    area.apply(TextEdit::newline());
    EXPECT_EQ(area.lines(), (std::vector<std::string>{"a", "b", "c", ""}));
    EXPECT_EQ(area.cursorPosition(), (EditableText::Position{3, 0}));
}

TEST(EditableTextTest, EdgesDoNothing) {
    auto text = at("ab", 0);
    text.apply(TextEdit::backspace());
    text.apply(TextEdit::moveLeft());
    EXPECT_EQ(text, at("ab", 0));
    text.setCursor(2);
    text.apply(TextEdit::deleteForward());
    text.apply(TextEdit::moveRight());
    EXPECT_EQ(text, at("ab", 2));
    text.setCursor(-5);
    EXPECT_EQ(text.cursor(), 0);
    text.setCursor(99);
    EXPECT_EQ(text.cursor(), 2);
}

TEST(EditableTextTest, DeleteWordBackward) {
    auto text = at("hello world  ", 13);
    text.apply(TextEdit::deleteWordBackward());
    EXPECT_EQ(text.text(), "hello ");
    EXPECT_EQ(text.cursor(), 6);

    auto afterLineFeed = at("ab\ncd", 3, true);
    afterLineFeed.apply(TextEdit::deleteWordBackward());
    EXPECT_EQ(afterLineFeed.text(), "ab\ncd");

    auto word = at("x " + cjk + eAcute, 4);
    word.apply(TextEdit::deleteWordBackward());
    EXPECT_EQ(word.text(), "x ");
}

TEST(EditableTextTest, VerticalMovesKeepTheColumnWhereTheyCan) {
    auto text = at("abcdef\nxy\n123456", 5, true);
    text.apply(TextEdit::moveDown());
    EXPECT_EQ(text.cursor(), 9);  // end of "xy"
    EXPECT_EQ(text.cursorPosition(), (EditableText::Position{1, 2}));
    text.apply(TextEdit::moveDown());
    EXPECT_EQ(text.cursorPosition(), (EditableText::Position{2, 2}));
    text.apply(TextEdit::moveDown());  // last line: nothing
    EXPECT_EQ(text.cursorPosition(), (EditableText::Position{2, 2}));
    text.apply(TextEdit::moveUp());
    text.apply(TextEdit::moveUp());
    EXPECT_EQ(text.cursorPosition(), (EditableText::Position{0, 2}));
    text.apply(TextEdit::moveUp());  // first line: nothing
    EXPECT_EQ(text.cursorPosition(), (EditableText::Position{0, 2}));

    auto atEnd = at("ab\n", 3, true);
    atEnd.apply(TextEdit::moveDown());
    EXPECT_EQ(atEnd.cursor(), 3);
    // Columns count characters: a flag is one.
    auto wide = at(flag + flag + "\nabc", 2, true);
    wide.apply(TextEdit::moveDown());
    EXPECT_EQ(wide.cursorPosition(), (EditableText::Position{1, 2}));
}

TEST(EditableTextTest, LineStartAndEndEdits) {
    auto text = at("ab\ncdef\ngh", 5, true);  // between "cd" and "ef"
    text.apply(TextEdit::moveToLineEnd());
    EXPECT_EQ(text.cursor(), 7);  // before the line feed
    text.apply(TextEdit::moveToLineStart());
    EXPECT_EQ(text.cursor(), 3);
    text.apply(TextEdit::deleteToLineStart());  // at the start: nothing joins
    EXPECT_EQ(text.text(), "ab\ncdef\ngh");
    text.apply(TextEdit::moveToLineEnd());
    text.apply(TextEdit::deleteToLineEnd());  // at the end: nothing joins
    EXPECT_EQ(text.text(), "ab\ncdef\ngh");

    auto middle = at("ab\ncdef\ngh", 5, true);
    middle.apply(TextEdit::deleteToLineEnd());
    EXPECT_EQ(middle.text(), "ab\ncd\ngh");
    EXPECT_EQ(middle.cursor(), 5);
    middle.apply(TextEdit::deleteToLineStart());
    EXPECT_EQ(middle.text(), "ab\n\ngh");
    EXPECT_EQ(middle.cursor(), 3);
}

TEST(EditableTextTest, CarriageReturnLineFeedIsNotALineFeed) {
    const auto text = at("a\r\nb", 3, true);
    EXPECT_EQ(text.characters().size(), 3u);
    EXPECT_EQ(text.lines(), std::vector<std::string>{"a\r\nb"});
    EXPECT_EQ(text.cursorPosition(), (EditableText::Position{0, 3}));
}

TEST(EditableTextTest, SetTextKeepsTheKindOfField) {
    EditableText area("x", true);
    area.setText("one\ntwo");
    EXPECT_TRUE(area.allowsNewlines());
    EXPECT_EQ(area.cursor(), 7);
    EXPECT_EQ(area.cursorPosition(), (EditableText::Position{1, 3}));
}

}  // namespace
}  // namespace tarv::core
