#include "TarvCore/Rules/KeyChordParser.hpp"

#include <gtest/gtest.h>

#include <string>

using namespace tarv::core;
using Key = KeyChord::Key;

namespace {

struct ParseCase {
    std::string text;
    std::optional<KeyChord> expected;
};

KeyChord ch(std::string c, bool control = false, bool alt = false) {
    return KeyChord(Key::character(std::move(c)), control, alt);
}

}  // namespace

TEST(KeyChordParser, ParsesTheWrittenForms) {
    const std::vector<ParseCase> cases = {
        {"+", ch("+")},
        {"ctrl++", ch("+", true)},
        {"++", std::nullopt},
        {"ctrl+", std::nullopt},
        {"ctrl++x", std::nullopt},
        {"c+x", ch("x", true)},
        {"Ctrl+Alt+X", ch("x", true, true)},
        {"ctrl+Q", ch("q", true)},
        {"ctrl+shift+q", ch("q", true)},
        {"alt+X", ch("X", false, true)},
        {"shift+a", ch("A")},
        {"A", ch("A")},
        {"a", ch("a")},
        {"\u21E7+a", ch("A")},
        {"\u2303+\u2325+k", ch("k", true, true)},
        {"meta+opt+option+k", ch("k", false, true)},
        {"shift+tab", std::nullopt},
        {"shift+F5", std::nullopt},
        {"shift+space", std::nullopt},
        {"F12", KeyChord(Key::function(12))},
        {"f12", KeyChord(Key::function(12))},
        {"f012", KeyChord(Key::function(12))},
        {"ctrl+f1", KeyChord(Key::function(1), true)},
        {"f0", std::nullopt},
        {"f13", std::nullopt},
        {"f99999999999999999999999", std::nullopt},
        {"f", ch("f")},
        {"F", ch("F")},
        {"ENTER", KeyChord(Key::Enter{})},
        {"Return", KeyChord(Key::Enter{})},
        {"PgDn", KeyChord(Key::PageDown{})},
        {"pageup", KeyChord(Key::PageUp{})},
        {"esc", KeyChord(Key::Escape{})},
        {"del", KeyChord(Key::Delete{})},
        {"ctrl+backspace", KeyChord(Key::Backspace{}, true)},
        {"pg up", std::nullopt},
        {"  tab  ", KeyChord(Key::Tab{})},
        {"ctrl + x", std::nullopt},
        {"", std::nullopt},
        {" \t\n", std::nullopt},
        {"hyper+x", std::nullopt},
        {"xy", std::nullopt},
        {"alt+ ", std::nullopt},
        {"alt+\u00E9", ch("\u00E9", false, true)},
        {"e\u0301", ch("e\u0301")},
        {"ctrl+\u00C9", ch("\u00E9", true)},
        {"shift+\u00E9", ch("\u00C9")},
        {"\U0001F600", ch("\U0001F600")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeyChordParser::parse(c.text), c.expected) << "text: '" << c.text << "'";
    }
}

TEST(KeyChordParser, UpperAndLowerCaseLettersAreDifferentChords) {
    EXPECT_NE(KeyChordParser::parse("A"), KeyChordParser::parse("a"));
    EXPECT_EQ(KeyChordParser::parse("A"), KeyChordParser::parse("shift+a"));
}

TEST(KeyChordParser, DisplaysSymbols) {
    const std::vector<std::pair<KeyChord, std::string>> cases = {
        {ch("q", true), "\u2303Q"},
        {ch("x", false, true), "\u2325x"},
        {ch("x", true, true), "\u2303\u2325X"},
        {ch("A"), "A"},
        {KeyChord(Key::function(5)), "F5"},
        {KeyChord(Key::Enter{}, true), "\u2303\u23CE"},
        {KeyChord(Key::Tab{}, true), "\u2303Tab"},
        {KeyChord(Key::Escape{}), "Esc"},
        {KeyChord(Key::Backspace{}), "\u232B"},
        {KeyChord(Key::Delete{}), "Del"},
        {KeyChord(Key::Space{}), "Space"},
        {KeyChord(Key::Up{}), "\u2191"},
        {KeyChord(Key::Down{}), "\u2193"},
        {KeyChord(Key::Left{}), "\u2190"},
        {KeyChord(Key::Right{}), "\u2192"},
        {KeyChord(Key::Home{}), "Home"},
        {KeyChord(Key::End{}), "End"},
        {KeyChord(Key::PageUp{}), "PgUp"},
        {KeyChord(Key::PageDown{}), "PgDn"},
    };
    for (const auto& [chord, shown] : cases) EXPECT_EQ(KeyChordParser::display(chord), shown);
}

TEST(KeyChord, HashAgreesWithEquality) {
    std::hash<KeyChord> hash;
    EXPECT_EQ(hash(ch("k", true)), hash(*KeyChordParser::parse("control+K")));
    EXPECT_NE(hash(ch("k", true)), hash(ch("k", false)));
    EXPECT_NE(hash(KeyChord(Key::Up{})), hash(KeyChord(Key::Down{})));
}
