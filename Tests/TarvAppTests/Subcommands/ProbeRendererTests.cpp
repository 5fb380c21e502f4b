#include <gtest/gtest.h>

#include "TarvApp/Subcommands/Probe/ProbeRenderer.hpp"

namespace tarv::app {
namespace {

using core::Language;
using terminal::MouseEvent;
using terminal::TerminalProbeClick;
using terminal::TerminalProbeReport;
using terminal::WheelSample;
using terminal::WheelSummary;
using ModeState = TerminalProbeReport::ModeState;
using namespace std::chrono_literals;

TEST(ProbeRenderer, CapabilitiesListEveryProbedModeInOrder) {
    TerminalProbeReport report;
    for (std::int64_t mode : {1000, 1002, 1004, 1006, 2004, 2026}) report.modes[mode] = ModeState::set;
    report.keepsTrueColor = true;
    const std::vector<std::string> expected{
        " · identity     the terminal did not answer DA1",
        " · ratón ?1000   supported",
        " · arrastre ?1002  supported",
        " · foco ?1004    supported",
        " · ratón SGR ?1006  supported",
        " · pegado ?2004  supported",
        " · sync ?2026    supported",
        " · 24-bit color kept (DECRQSS)",
    };
    EXPECT_EQ(ProbeRenderer::capabilities(report, Language::en), expected);
}

TEST(ProbeRenderer, ModeStatesReadAsSupportedUnsupportedOrUnanswered) {
    TerminalProbeReport report;
    report.deviceAttributes = "62;22";
    report.modes[1000] = ModeState::reset;
    report.modes[1002] = ModeState::permanentlyReset;
    report.modes[1004] = ModeState::unrecognized;
    report.modes[1006] = ModeState::permanentlySet;
    report.keepsTrueColor = false;
    const std::vector<std::string> expected{
        " · identidad    DA1 = 62;22",
        " · ratón ?1000   soportado",
        " · arrastre ?1002  no soportado",
        " · foco ?1004    no soportado",
        " · ratón SGR ?1006  soportado",
        " · pegado ?2004  sin respuesta (el terminal no implementa DECRQM)",
        " · sync ?2026    sin respuesta (el terminal no implementa DECRQM)",
        " · color 24-bit el terminal lo degrada o lo rechaza",
    };
    EXPECT_EQ(ProbeRenderer::capabilities(report, Language::es), expected);
    EXPECT_EQ(ProbeRenderer::capabilities(TerminalProbeReport{}, Language::en).back(),
              " · 24-bit color no DECRQSS answer (cannot confirm)");
}

TEST(ProbeRenderer, ColorSwatchRunsFromBlueToRed) {
    struct Case {
        int width;
        std::string cells;
    };
    const Case cases[] = {
        {0, "   \x1b[0m"},
        {1, "   \x1b[48;2;0;64;255m \x1b[0m"},
        {3, "   \x1b[48;2;0;64;255m \x1b[48;2;127;64;128m \x1b[48;2;255;64;0m \x1b[0m"},
    };
    for (const Case& c : cases) {
        const auto lines = ProbeRenderer::colorSwatch(Language::en, c.width);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], " · 24-bit sample (a smooth gradient with no steps means the terminal supports it):");
        EXPECT_EQ(lines[1], c.cells) << "width " << c.width;
    }
    const std::string wide = ProbeRenderer::colorSwatch(Language::en, 48)[1];
    EXPECT_EQ(wide.rfind("\x1b[48;2;0;64;255m ", 3), 3u);
    EXPECT_NE(wide.find("\x1b[48;2;255;64;0m \x1b[0m"), std::string::npos);
}

TEST(ProbeRenderer, ClickLineNamesTheEncodingAndCell) {
    EXPECT_EQ(ProbeRenderer::click(std::nullopt, Language::en), " · mouse        no click arrived");
    EXPECT_EQ(ProbeRenderer::click(TerminalProbeClick{TerminalProbeClick::Encoding::sgr, {12, 3}}, Language::en),
              " · mouse        click received at 12,3 using SGR (1006) encoding");
    EXPECT_EQ(ProbeRenderer::click(TerminalProbeClick{TerminalProbeClick::Encoding::x10, {0, 0}}, Language::es),
              " · ratón       clic recibido en 0,0 con codificación X10");
    EXPECT_EQ(ProbeRenderer::click(TerminalProbeClick{TerminalProbeClick::Encoding::unknown, {1, 2}}, Language::en),
              " · mouse        click received at 1,2 using ? encoding");
}

TEST(ProbeRenderer, WheelSummaryHasTotalsThenOneLinePerGesture) {
    const WheelSummary summary({
        WheelSample{0ms, MouseEvent::Direction::up},
        WheelSample{100ms, MouseEvent::Direction::up},
        WheelSample{200ms, MouseEvent::Direction::up},
        WheelSample{500ms, MouseEvent::Direction::down},
    });
    const std::vector<std::string> expected{
        "4 events in 2 gestures (pause > 250 ms = new gesture)",
        " · gesture 1: 3 ↑ events in 200 ms · longest pause 100 ms",
        " · gesture 2: 1 ↓ events in 0 ms · longest pause 0 ms",
    };
    EXPECT_EQ(ProbeRenderer::wheel(summary, Language::en), expected);
    EXPECT_EQ(ProbeRenderer::wheel(WheelSummary({}), Language::en),
              std::vector<std::string>{"No wheel events arrived."});
}

}  // namespace
}  // namespace tarv::app
