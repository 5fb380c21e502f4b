#include <gtest/gtest.h>

#include "TarvTerminal/Backend/TerminalProbeParser.hpp"
#include "TarvTerminal/Backend/WheelSummary.hpp"

namespace tarv::terminal {
namespace {

using State = TerminalProbeReport::ModeState;
using namespace std::chrono_literals;

TEST(TerminalProbeParser, ModeReportsTable) {
    struct Case {
        std::string bytes;
        std::int64_t mode;
        State state;
    };
    const Case cases[] = {
        {"\x1b[?1000;1$y", 1000, State::set},
        {"\x1b[?1002;2$y", 1002, State::reset},
        {"\x1b[?1004;3$y", 1004, State::permanentlySet},
        {"\x1b[?2026;4$y", 2026, State::permanentlyReset},
        {"\x1b[?2026;0$y", 2026, State::unrecognized},
        {"\x1b[?2026;-1$y", 2026, State::unrecognized},
        {"\x1b[?2026;1;1$y", 2026, State::noAnswer},
        {"\x1b[?2026;x$y", 2026, State::noAnswer},
        {"\x1b[?2026;;1$y", 2026, State::set},
        {"\x1b[?1006;2$y\x1b[?1006;1$y", 1006, State::set},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TerminalProbeParser::parse(c.bytes).mode(c.mode), c.state) << testing::PrintToString(c.bytes);
    }
    EXPECT_FALSE(TerminalProbeReport::isSupported(State::permanentlyReset));
    EXPECT_FALSE(TerminalProbeReport::isSupported(State::noAnswer));
    EXPECT_TRUE(TerminalProbeReport::isSupported(State::permanentlySet));
}

TEST(TerminalProbeParser, DeviceAttributesAndColourEcho) {
    const auto report = TerminalProbeParser::parse("\x1b[?1000;1$y\x1bP1$r0;38:2::10:20:30m\x1b\\\x1b[?62;22c");
    EXPECT_EQ(report.deviceAttributes, "62;22");
    EXPECT_EQ(report.keepsTrueColor, true);
    EXPECT_EQ(report.mode(1000), State::set);
    EXPECT_EQ(TerminalProbeParser::parse("\x1bP1$r0;38;5;234m\x1b\\").keepsTrueColor, false);
    EXPECT_EQ(TerminalProbeParser::parse("\x1bP0$r\x1b\\").keepsTrueColor, false);
    EXPECT_EQ(TerminalProbeParser::parse("\x1bP1$r38;2;10;20;30m\x1b\\").keepsTrueColor, true);
    EXPECT_EQ(TerminalProbeParser::parse("").keepsTrueColor, std::nullopt);
    EXPECT_EQ(TerminalProbeParser::parse(""), TerminalProbeReport{});
    EXPECT_TRUE(TerminalProbeParser::containsDeviceAttributes("junk\x1b[?62;22c"));
    EXPECT_FALSE(TerminalProbeParser::containsDeviceAttributes("\x1b[?1000;1$y"));
}

TEST(TerminalProbeParser, MouseEncoding) {
    using E = TerminalProbeClick::Encoding;
    EXPECT_EQ(TerminalProbeParser::mouseEncoding("\x1b[<0;5;5M"), E::sgr);
    EXPECT_EQ(TerminalProbeParser::mouseEncoding("x\x1b[M !!"), E::x10);
    EXPECT_EQ(TerminalProbeParser::mouseEncoding("\x1b["), E::unknown);
    EXPECT_EQ(TerminalProbeParser::mouseEncoding("\x1b[A"), E::unknown);
}

TEST(WheelSummary, GesturesSplitAtGapsAndDirectionChanges) {
    using D = MouseEvent::Direction;
    const std::vector<WheelSample> samples = {{0ms, D::up}, {100ms, D::up}, {200ms, D::up}, {500ms, D::up}};
    const WheelSummary summary(samples);
    ASSERT_EQ(summary.gestures.size(), 2u);
    EXPECT_EQ(summary.gestures[0], (WheelSummary::Gesture{3, 200ms, D::up, 100ms}));
    EXPECT_EQ(summary.gestures[1], (WheelSummary::Gesture{1, 0ms, D::up, 0ms}));
    EXPECT_EQ(summary.totalEvents(), 4);

    EXPECT_EQ(WheelSummary({{0ms, D::down}, {250ms, D::down}, {500ms, D::down}}).gestures.size(), 1u);
    EXPECT_EQ(WheelSummary({{0ms, D::down}, {10ms, D::up}}).gestures.size(), 2u);
    EXPECT_TRUE(WheelSummary({}).gestures.empty());
}

}  // namespace
}  // namespace tarv::terminal
