#include <gtest/gtest.h>

#include "TarvUI/Components/UIFrame.hpp"

namespace tarv::ui {
namespace {

core::EditableText textWithCursor(const std::string& text, std::int64_t cursor) {
    core::EditableText editable(text);
    editable.setCursor(cursor);
    return editable;
}

TEST(VisibleSlice, Table) {
    struct Case {
        std::string text;
        std::int64_t cursor;
        std::int64_t width;
        std::string slice;
        std::int64_t column;
    };
    const Case cases[] = {
        {"abcdef", 6, 4, "def", 3},
        {"abcdef", 0, 4, "abcd", 0},
        {"abcdef", 3, 4, "abcd", 3},
        {"abcdefgh", 6, 4, "defg", 3},
        {"abc", 2, 10, "abc", 2},
        {"abc", 1, 0, "", 0},
        {"abc", 1, -3, "", 0},
        {"", 0, 5, "", 0},
        // '本語' already takes 4 columns, so the cursor would have no room.
        {"日本語", 3, 4, "語", 2},
        {"日本語", 0, 4, "日本", 0},
        // A wide character that no longer fits ends the slice even though a
        // narrow one after it would.
        {"ab日c", 0, 3, "ab", 0},
        // A combining mark stays with its base: "é" is one character.
        {"ae\xCC\x81x", 3, 2, "x", 1},
    };
    for (const Case& c : cases) {
        const auto slice = UIFrame::visibleSlice(textWithCursor(c.text, c.cursor), c.width);
        EXPECT_EQ(slice, (UIFrame::Slice{c.slice, c.column})) << c.text << " cursor " << c.cursor << " width "
                                                              << c.width;
    }
}

}  // namespace
}  // namespace tarv::ui
