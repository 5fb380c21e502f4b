// Text from outside printed by the subcommands: nothing in it may start a
// control sequence or reorder what follows, and ordinary text stays as it is.
#include <gtest/gtest.h>

#include <string>

#include "TarvTerminal/Text/InertText.hpp"

namespace tarv::terminal {
namespace {

TEST(InertText, ControlsBecomeDotsFormatCharactersGo) {
    const struct {
        std::string text;
        std::string expected;
    } cases[] = {
        {"", ""},
        {"Ada Lovelace <ada@example.com>", "Ada Lovelace <ada@example.com>"},
        {"a\x1b[31mb", "a·[31mb"},                          // CSI
        {"\x1b]0;title\x07", "·]0;title·"},                 // OSC ended by BEL
        {"\x1b]52;c;aGk=\x1b\\", "·]52;c;aGk=·\\"},          // OSC ended by ST
        {"\x1bP1$r\x1b\\", "·P1$r·\\"},                      // DCS
        {"\xc2\x9b" "2J\xc2\x9d" "0;x", "·2J·0;x"},          // C1 CSI and OSC
        {"\x9b" "2J", "\xef\xbf\xbd" "2J"},                  // a lone C1 byte is invalid UTF-8
        {"one\ntwo\r\n", "one·two·"},
        {"abc\xe2\x80\xae" "fed", "abcfed"},                 // right-to-left override
        {"\xe2\x81\xa6x\xe2\x81\xa9\xe2\x80\x8f", "x"},      // isolate, pop, RLM
        {"\x7f" "del", "·del"},
        {"a\tb", "a   b"},
        {"e\xcc\x81 日本 🙂", "e\xcc\x81 日本 🙂"},
    };
    for (const auto& c : cases) EXPECT_EQ(InertText::line(c.text), c.expected) << c.text;
}

}  // namespace
}  // namespace tarv::terminal
