#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Support/TerminalEventDescription.hpp"
#include "TarvTerminal/Input/InputDecoder.hpp"

namespace tarv::terminal {
namespace {

using Events = std::vector<InputEvent>;
using K = KeyCode;
using B = MouseEvent::Button;
using D = MouseEvent::Direction;
using MK = MouseEvent::Kind;

const Modifiers none{};
const Modifiers shift = Modifiers::shift;
const Modifiers alt = Modifiers::alt;
const Modifiers ctrl = Modifiers::control;

InputEvent key(KeyCode code, Modifiers m = {}) { return InputEvent::key(KeyEvent{std::move(code), m}); }
InputEvent ch(std::string text, Modifiers m = {}) { return key(K::character(std::move(text)), m); }
InputEvent mouse(MK kind, std::int64_t x, std::int64_t y, Modifiers m = {}) {
    return InputEvent::mouse(MouseEvent{kind, Point{x, y}, m});
}

Events feedAll(const std::vector<std::string>& chunks) {
    InputDecoder decoder;
    Events events;
    for (const std::string& chunk : chunks) decoder.feed(chunk, events);
    return events;
}

struct Case {
    std::string bytes;
    Events expected;
};

// Sequences that decode completely without waiting for a flush.
const std::vector<Case>& completeCases() {
    static const std::vector<Case> cases = {
        {"\x1b[A", {key(K::up())}},
        {"\x1b[1;5A", {key(K::up(), ctrl)}},
        {"\x1b[1;3A", {key(K::up(), alt)}},
        {"\x1b[1;9A", {key(K::up(), alt)}},
        {"\x1b[1;1A", {key(K::up())}},
        {"\x1b[1;2B\x1b[C\x1b[1;8D", {key(K::down(), shift), key(K::right()), key(K::left(), Modifiers{shift, alt, ctrl})}},
        {"\x1b[H\x1b[F\x1b[1;6H", {key(K::home()), key(K::end()), key(K::home(), Modifiers{shift, ctrl})}},
        {"\x1bOP\x1bOQ\x1bOR\x1bOS", {key(K::function(1)), key(K::function(2)), key(K::function(3)), key(K::function(4))}},
        {"\x1bOA\x1bOH\x1bOF", {key(K::up()), key(K::home()), key(K::end())}},
        {"\x1bOEx", {ch("x")}},
        {"\x1b[15~", {key(K::function(5))}},
        {"\x1b[17~", {key(K::function(6))}},
        {"\x1b[16~", {}},
        {"\x1b[21~\x1b[23~\x1b[24~\x1b[25~", {key(K::function(10)), key(K::function(11)), key(K::function(12))}},
        {"\x1b[1~\x1b[7~\x1b[2~\x1b[3~\x1b[4~\x1b[8~\x1b[5~\x1b[6~",
         {key(K::home()), key(K::home()), key(K::insert()), key(K::deleteKey()), key(K::end()), key(K::end()),
          key(K::pageUp()), key(K::pageDown())}},
        {"\x1b[3;5~", {key(K::deleteKey(), ctrl)}},
        {"\x1b[200;5~x", {ch("x")}},
        {"\x1b[1P\x1b[1;2Q", {key(K::function(1)), key(K::function(2), shift)}},
        {"\x1b[Z", {key(K::backTab(), shift)}},
        {"\x1b[1;5Z", {key(K::backTab(), shift)}},
        {"\x1b[I", {InputEvent::focus(true)}},
        {"\x1b[O", {InputEvent::focus(false)}},
        {"\x1b[1I", {}},
        {"\x1b[<0;10;5M", {mouse(MK::press(B::left), 9, 4)}},
        {"\x1b[<0;10;5m", {mouse(MK::release(), 9, 4)}},
        {"\x1b[<64;1;1M", {mouse(MK::scroll(D::up), 0, 0)}},
        {"\x1b[<65;2;3M\x1b[<66;1;1M\x1b[<67;1;1M",
         {mouse(MK::scroll(D::down), 1, 2), mouse(MK::scroll(D::left), 0, 0), mouse(MK::scroll(D::right), 0, 0)}},
        {"\x1b[<35;3;3M", {mouse(MK::move(), 2, 2)}},
        {"\x1b[<32;3;3M", {mouse(MK::drag(B::left), 2, 2)}},
        {"\x1b[<34;3;3M", {mouse(MK::drag(B::right), 2, 2)}},
        {"\x1b[<1;1;1M\x1b[<2;1;1M\x1b[<3;1;1M",
         {mouse(MK::press(B::middle), 0, 0), mouse(MK::press(B::right), 0, 0), mouse(MK::press(B::left), 0, 0)}},
        {"\x1b[<20;4;4M", {mouse(MK::press(B::left), 3, 3, Modifiers{shift, ctrl})}},
        {"\x1b[<8;0;0M", {mouse(MK::press(B::left), 0, 0, alt)}},
        {"\x1b[<-1;1;1M", {}},
        {"\x1b[<0;;1;;1M", {mouse(MK::press(B::left), 0, 0)}},
        {"\x1b[<0;1M", {}},
        {"\x1b[<0;1;1;1M", {}},
        {"\x1b[<0;1:2;1;1M", {mouse(MK::press(B::left), 0, 0)}},
        {"\x1b[<0;99999999999999999999;1M", {}},
        {std::string("\x1b[M\x20\x21\x21", 6), {mouse(MK::press(B::left), 0, 0)}},
        {std::string("\x1b[M\x23\x21\x21", 6), {mouse(MK::release(), 0, 0)}},
        {std::string("\x1b[M\x60\x2a\x25", 6), {mouse(MK::scroll(D::up), 9, 4)}},
        {std::string("\x1b[M\x10\x20\x20", 6), {}},
        {std::string("\x1b[M\x22\x20\x10", 6), {mouse(MK::press(B::right), 0, 0)}},
        {"\x1b[97;5u", {ch("a", ctrl)}},
        {"\x1b[-5u", {}},
        {"\x1b[9u\x1b[13u\x1b[27u\x1b[127u", {key(K::tab()), key(K::enter()), key(K::escape()), key(K::backspace())}},
        {"\x1b[233;3u", {ch("\xC3\xA9", alt)}},
        {"\x1b[55296u\x1b[1114112u", {}},
        {"\x1b[97:65;5u", {ch("a", ctrl)}},
        {"\x1b[:97;5u", {ch("a", ctrl)}},
        {"\x1b[;5A", {key(K::up(), ctrl)}},
        {"\x1b[1;+5A", {key(K::up(), ctrl)}},
        {"\x1b[1;99999999999999999999999A", {key(K::up())}},
        {"\x1b[?1;2c", {}},
        {"\x1b[1\x1bx", {ch("x")}},
        {"\x1b[5\x07", {}},
        {"\x1b\x1b[A", {key(K::escape()), key(K::up())}},
        {"\x1bx", {ch("x", alt)}},
        {"\x1b\x01", {ch("a", Modifiers{ctrl, alt})}},
        {"\x1b\x7f", {key(K::backspace(), alt)}},
        {"\x1b\xc3\xa9", {ch("\xC3\xA9", alt)}},
        {std::string("\x00", 1), {ch(" ", ctrl)}},
        {"\x03\x1a\x0a\x1f\x1c\x1d\x1e",
         {ch("c", ctrl), ch("z", ctrl), ch("j", ctrl), ch("_", ctrl), ch("\\", ctrl), ch("]", ctrl), ch("^", ctrl)}},
        {"\x0d\x09\x08\x7f", {key(K::enter()), key(K::tab()), key(K::backspace()), key(K::backspace())}},
        {"az ~", {ch("a"), ch("z"), ch(" "), ch("~")}},
        {"\xc3\xa9\xe6\xbc\xa2\xf0\x9f\x91\x8d", {ch("\xC3\xA9"), ch("\xE6\xBC\xA2"), ch("\xF0\x9F\x91\x8D")}},
        {"\xc3" "a", {ch("\xEF\xBF\xBD"), ch("a")}},
        {"\x80\xc1", {ch("\xEF\xBF\xBD"), ch("\xEF\xBF\xBD")}},
        {"\xe0\x80\x80", {ch("\xEF\xBF\xBD")}},
        {"\xed\xa0\x80", {ch("\xEF\xBF\xBD")}},
        {"\xf5\x80\x80", {ch("\xEF\xBF\xBD")}},
        {"\xf4\x90\x80\x80", {ch("\xEF\xBF\xBD")}},
        {"\x1b[200~abc\x1b[201~", {InputEvent::paste("abc")}},
        {"\x1b[200~a\r\nb\tc\x1b[201~", {InputEvent::paste("a\r\nb\tc")}},
        {"\x1b[200~\x1b[A\x1b[201~\x1b[B", {InputEvent::paste("\x1b[A"), key(K::down())}},
        {"\x1b[200~\xc3\xa9\xff\x1b[201~", {InputEvent::paste("\xC3\xA9\xEF\xBF\xBD")}},
        {"\x1b[200~\x1b[201~x", {InputEvent::paste(""), ch("x")}},
        {"\x1b[201~q", {ch("q")}},
    };
    return cases;
}

TEST(InputDecoder, DecodesEachSequenceWhole) {
    for (const Case& c : completeCases()) {
        InputDecoder decoder;
        EXPECT_EQ(decoder.feed(c.bytes), c.expected) << "bytes: " << testing::PrintToString(c.bytes);
        EXPECT_FALSE(decoder.hasPending()) << testing::PrintToString(c.bytes);
        EXPECT_FALSE(decoder.isPasteOpen());
    }
}

TEST(InputDecoder, DecodesTheSameWhenSplitAtAnyByte) {
    for (const Case& c : completeCases()) {
        for (std::size_t cut = 1; cut < c.bytes.size(); ++cut) {
            EXPECT_EQ(feedAll({c.bytes.substr(0, cut), c.bytes.substr(cut)}), c.expected)
                << testing::PrintToString(c.bytes) << " cut at " << cut;
        }
        std::vector<std::string> single;
        for (char b : c.bytes) single.emplace_back(1, b);
        EXPECT_EQ(feedAll(single), c.expected) << testing::PrintToString(c.bytes) << " byte by byte";
    }
}

TEST(InputDecoder, PasteGivenInThreeCallsArrivesOnTheThird) {
    InputDecoder decoder;
    EXPECT_TRUE(decoder.feed("\x1b[200~").empty());
    EXPECT_TRUE(decoder.isPasteOpen());
    EXPECT_FALSE(decoder.hasPending());
    EXPECT_TRUE(decoder.feed("abc").empty());
    EXPECT_EQ(decoder.feed("\x1b[201~"), Events{InputEvent::paste("abc")});
}

TEST(InputDecoder, LoneEscapeWaitsForTheFlush) {
    InputDecoder decoder;
    EXPECT_TRUE(decoder.feed("\x1b").empty());
    EXPECT_TRUE(decoder.hasPending());
    EXPECT_EQ(decoder.flushPending(), Events{key(K::escape())});
    EXPECT_FALSE(decoder.hasPending());
}

TEST(InputDecoder, EscapeEscapeGivesEscapeAndKeepsTheSecondPending) {
    InputDecoder decoder;
    EXPECT_EQ(decoder.feed("\x1b\x1b"), Events{key(K::escape())});
    EXPECT_TRUE(decoder.hasPending());
    EXPECT_EQ(decoder.flushPending(), Events{key(K::escape())});
}

TEST(InputDecoder, FlushTable) {
    const std::vector<Case> cases = {
        {"\x1b", {key(K::escape())}},
        {"\x1b[", {ch("[", alt)}},
        {"\x1bO", {}},
        {"\x1b\xc3", {}},
        {"\xe6\xbc", {}},
        {"\x1b[1;5", {}},
    };
    for (const Case& c : cases) {
        InputDecoder decoder;
        EXPECT_TRUE(decoder.feed(c.bytes).empty());
        EXPECT_TRUE(decoder.hasPending());
        EXPECT_EQ(decoder.flushPending(), c.expected) << testing::PrintToString(c.bytes);
        EXPECT_FALSE(decoder.hasPending());
        EXPECT_EQ(decoder.feed("x"), Events{ch("x")});
    }
}

TEST(InputDecoder, FlushLeavesAnOpenPasteAlone) {
    InputDecoder decoder;
    decoder.feed("\x1b[200~ab");
    EXPECT_FALSE(decoder.hasPending());
    EXPECT_TRUE(decoder.flushPending().empty());
    EXPECT_EQ(decoder.feed("c\x1b[201~"), Events{InputEvent::paste("abc")});
}

TEST(InputDecoder, ResetForgetsHalfSequencesAndPastes) {
    InputDecoder decoder;
    decoder.feed("\x1b[1;");
    decoder.reset();
    EXPECT_EQ(decoder.feed("5A"), (Events{ch("5"), ch("A")}));
    decoder.feed("\x1b[200~never ends");
    decoder.reset();
    EXPECT_FALSE(decoder.isPasteOpen());
    EXPECT_EQ(decoder.feed("q"), Events{ch("q")});
}

// A paste whose end marker never comes must not swallow the input forever:
// past the size limit it is delivered and decoding carries on.
TEST(InputDecoder, PasteWithoutEndMarkerIsDeliveredAtTheLimit) {
    InputDecoder decoder;
    Events events;
    decoder.feed("\x1b[200~", events);
    const std::string chunk(64 * 1024, 'p');
    while (decoder.isPasteOpen()) {
        decoder.feed(chunk, events);
        ASSERT_LE(decoder.retainedBytes(), InputDecoder::maximumPasteBytes + 8);
    }
    ASSERT_FALSE(events.empty());
    const auto* paste = events.front().get<InputEvent::Paste>();
    ASSERT_NE(paste, nullptr);
    EXPECT_GE(paste->text.size(), InputDecoder::maximumPasteBytes);
    EXPECT_LE(paste->text.size(), InputDecoder::maximumPasteBytes + 5);
    events.clear();
    decoder.feed("q", events);
    EXPECT_EQ(events.back(), ch("q"));
}

TEST(InputDecoder, OversizedPasteKeepsWholeCharactersAndDecodesTheRest) {
    InputDecoder decoder;
    std::string bytes = "\x1b[200~";
    while (bytes.size() < InputDecoder::maximumPasteBytes + 100) bytes += "\xE6\xBC\xA2";  // 漢
    bytes += "\x03";
    const Events events = decoder.feed(bytes);
    ASSERT_GE(events.size(), 2u);
    const auto* paste = events.front().get<InputEvent::Paste>();
    ASSERT_NE(paste, nullptr);
    EXPECT_EQ(paste->text.size() % 3, 0u);
    EXPECT_EQ(paste->text.find("\xEF\xBF\xBD"), std::string::npos);
    EXPECT_EQ(events[1], ch("\xE6\xBC\xA2"));
    EXPECT_EQ(events.back(), ch("c", ctrl));
}

TEST(InputDecoder, EndMarkerSplitAcrossManyCallsIsFound) {
    InputDecoder decoder;
    Events events;
    decoder.feed("\x1b[200~hello", events);
    for (char b : std::string("\x1b[201~")) decoder.feed(std::string(1, b), events);
    decoder.feed("x", events);
    EXPECT_EQ(events, (Events{InputEvent::paste("hello"), ch("x")}));
}

TEST(InputDecoder, OverlongControlSequenceIsDroppedAndStaysBounded) {
    InputDecoder decoder;
    Events events;
    decoder.feed("\x1b[", events);
    for (int i = 0; i < 1000; ++i) {
        decoder.feed(std::string(100, '1'), events);
        ASSERT_LE(decoder.retainedBytes(), InputDecoder::maximumSequenceBytes + 16);
    }
    decoder.feed("Ax", events);
    EXPECT_EQ(events, Events{ch("x")});
}

}  // namespace
}  // namespace tarv::terminal
