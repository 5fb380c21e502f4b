// The probes against a pseudo-terminal whose other side the test plays: it
// reads the queries the probe writes and answers like a terminal would.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <string>

#include "Support/NoTerminalProcess.hpp"
#include "Support/PtyProcess.hpp"
#include "TarvTerminal/Backend/TerminalError.hpp"
#include "TarvTerminal/Backend/TerminalProbe.hpp"

namespace tarv::terminal {
namespace {

using namespace std::chrono_literals;
using testing::PtyProcess;
using testing::report;

const std::string queries =
    "\x1b[?1000$p\x1b[?1002$p\x1b[?1004$p\x1b[?1006$p\x1b[?2004$p\x1b[?2026$p"
    "\x1b[38;2;10;20;30m\x1bP$qm\x1b\\\x1b[0m\x1b[c";
const std::string mouseOn = "\x1b[?1000h\x1b[?1002h\x1b[?1006h";
const std::string mouseOff = "\x1b[?1006l\x1b[?1002l\x1b[?1000l";

std::string describeReport(const TerminalProbeReport& r) {
    std::string out = "da=" + r.deviceAttributes.value_or("none");
    for (std::int64_t mode : TerminalProbe::probedModes) {
        out += " " + std::to_string(mode) + "=" + std::to_string(static_cast<int>(r.mode(mode)));
    }
    out += " keeps=" + std::string(r.keepsTrueColor ? (*r.keepsTrueColor ? "yes" : "no") : "unknown");
    return out;
}

TEST(TerminalProbe, QueriesAndStopsAtTheDeviceAttributesAnswer) {
    auto child = PtyProcess::run([](int out) {
        const auto start = std::chrono::steady_clock::now();
        const auto result = TerminalProbe::queryCapabilities(10s);
        const bool early = std::chrono::steady_clock::now() - start < 5s;
        report(out, describeReport(result) + (early ? " early" : " late"));
        return 0;
    });
    ASSERT_TRUE(child.readUntilContains(queries, 10s)) << ::testing::PrintToString(child.output());
    EXPECT_EQ(child.output(), queries);
    EXPECT_FALSE(child.attributes().c_lflag & ICANON);
    child.write("\x1b[?1000;1$y\x1b[?1002;2$y\x1b[?2026;4$y\x1bP1$r0;38:2::10:20:30m\x1b\\\x1b[?62;22c");
    const auto line = child.nextReport(10s);
    ASSERT_TRUE(line);
    EXPECT_EQ(*line, "da=62;22 1000=0 1002=1 1004=5 1006=5 2004=5 2026=3 keeps=yes early");
    ASSERT_TRUE(child.wait(10s));
    child.readFor(50ms);
    EXPECT_NE(child.output().find("\r\x1b[2K"), std::string::npos);
    EXPECT_TRUE(child.attributes().c_lflag & ICANON);
}

TEST(TerminalProbe, SilentTerminalGivesAnEmptyReportAtTheDeadline) {
    auto child = PtyProcess::run([](int out) {
        report(out, describeReport(TerminalProbe::queryCapabilities(300ms)));
        return 0;
    });
    const auto line = child.nextReport(10s);
    ASSERT_TRUE(line);
    EXPECT_EQ(*line, "da=none 1000=5 1002=5 1004=5 1006=5 2004=5 2026=5 keeps=unknown");
}

TEST(TerminalProbe, WaitForClickReportsTheEncodingAndPosition) {
    auto child = PtyProcess::run([](int out) {
        const auto click = TerminalProbe::waitForClick(10s);
        if (!click) {
            report(out, "no click");
        } else {
            report(out, std::string(click->encoding == TerminalProbeClick::Encoding::sgr ? "sgr" : "other") + " " +
                            std::to_string(click->position.x) + "," + std::to_string(click->position.y));
        }
        return 0;
    });
    ASSERT_TRUE(child.readUntilContains(mouseOn, 10s));
    child.write("\x1b[<35;1;1M\x1b[<0;5;7M");
    const auto line = child.nextReport(10s);
    ASSERT_TRUE(line);
    EXPECT_EQ(*line, "sgr 4,6");
    ASSERT_TRUE(child.wait(10s));
    child.readFor(50ms);
    EXPECT_NE(child.output().find(mouseOff), std::string::npos);
}

TEST(TerminalProbe, KeyPressEndsTheClickWaitAndTheWheelRecording) {
    auto click = PtyProcess::run([](int out) {
        report(out, TerminalProbe::waitForClick(10s) ? "click" : "no click");
        return 0;
    });
    ASSERT_TRUE(click.readUntilContains(mouseOn, 10s));
    click.write("q");
    EXPECT_EQ(click.nextReport(5s), "no click");

    auto wheel = PtyProcess::run([](int out) {
        const auto samples = TerminalProbe::recordWheel(10s);
        std::string line = std::to_string(samples.size());
        for (const WheelSample& s : samples) line += s.direction == MouseEvent::Direction::up ? " up" : " down";
        report(out, line);
        return 0;
    });
    ASSERT_TRUE(wheel.readUntilContains(mouseOn, 10s));
    wheel.write("\x1b[<64;3;3M\x1b[<64;3;3M");
    wheel.write("\x1b[<65;3;3M");
    wheel.write("x");
    EXPECT_EQ(wheel.nextReport(5s), "3 up up down");
    ASSERT_TRUE(wheel.wait(10s));
    wheel.readFor(50ms);
    EXPECT_NE(wheel.output().find(mouseOff), std::string::npos);
}

TEST(TerminalProbe, WithoutATerminalThrowsBeforeWriting) {
    const auto outcome = testing::runWithoutTerminal([] {
        try {
            TerminalProbe::queryCapabilities(100ms);
        } catch (const TerminalError& error) {
            return error.isNotATTY() ? 0 : 3;
        }
        return 4;
    });
    EXPECT_EQ(outcome.output, "");
    EXPECT_EQ(outcome.exitCode, 0);
}

}  // namespace
}  // namespace tarv::terminal
