#include <gtest/gtest.h>

#include "TarvTerminal/Backend/TerminalCapabilities.hpp"

namespace tarv::terminal {
namespace {

TEST(TerminalCapabilities, ColorSupportTable) {
    using E = TerminalCapabilities::Environment;
    struct Case {
        E environment;
        std::optional<int> macOS;
        ColorSupport expected;
    };
    const Case cases[] = {
        {{}, std::nullopt, ColorSupport::ansi16},
        {{{"NO_COLOR", ""}, {"COLORTERM", "truecolor"}}, std::nullopt, ColorSupport::trueColor},
        {{{"NO_COLOR", "1"}, {"COLORTERM", "truecolor"}}, std::nullopt, ColorSupport::none},
        {{{"TERM", "dumb"}, {"COLORTERM", "truecolor"}}, std::nullopt, ColorSupport::none},
        {{{"COLORTERM", "TrueColor"}, {"TERM", "xterm-256color"}}, std::nullopt, ColorSupport::ansi256},
        {{{"COLORTERM", "24bit"}}, std::nullopt, ColorSupport::trueColor},
        {{{"TERM_PROGRAM", "Apple_Terminal"}}, 15, ColorSupport::ansi256},
        {{{"TERM_PROGRAM", "Apple_Terminal"}}, 26, ColorSupport::trueColor},
        {{{"TERM_PROGRAM", "Apple_Terminal"}}, std::nullopt, ColorSupport::ansi256},
        {{{"TERM_PROGRAM", "WezTerm"}, {"TERM", "xterm"}}, std::nullopt, ColorSupport::trueColor},
        {{{"TERM", "xterm-kitty"}}, std::nullopt, ColorSupport::trueColor},
        {{{"TERM", "screen-256color"}}, std::nullopt, ColorSupport::ansi256},
        {{{"TERM", "xterm"}}, std::nullopt, ColorSupport::ansi16},
        {{{"TERM", ""}}, std::nullopt, ColorSupport::ansi16},
    };
    for (const Case& c : cases) EXPECT_EQ(TerminalCapabilities::colorSupport(c.environment, c.macOS), c.expected);
}

TEST(TerminalCapabilities, ProgramName) {
    EXPECT_EQ(TerminalCapabilities::programName({{"TERM_PROGRAM", ""}, {"TERM", "xterm"}}), "xterm");
    EXPECT_EQ(TerminalCapabilities::programName({{"TERM_PROGRAM", "tmux"}, {"TERM", "xterm"}}), "tmux");
    EXPECT_EQ(TerminalCapabilities::programName({{"TERM", ""}}), "");
    EXPECT_EQ(TerminalCapabilities::programName({}), "desconocido");
}

}  // namespace
}  // namespace tarv::terminal
