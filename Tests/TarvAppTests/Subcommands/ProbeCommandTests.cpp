// The live probes on a real pseudo-terminal: what they print, and that the
// terminal is given back when they are killed or crash while they wait.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>

#include "Support/NoTerminalProcess.hpp"
#include "Support/PtyProcess.hpp"
#include "TarvApp/Subcommands/Probe/ProbeCommand.hpp"
#include "TarvApp/Subcommands/Probe/ProbeTerminalGuard.hpp"

namespace tarv::app {
namespace {

using namespace std::chrono_literals;
using core::Language;
using testing::PtyProcess;

const std::string mouseOn = "\x1b[?1000h\x1b[?1002h\x1b[?1006h";

bool isCooked(const termios& t) { return (t.c_lflag & ICANON) && (t.c_lflag & ECHO); }

TEST(ProbeCommand, ScrollProbeSummarisesTheWheelUntilAKey) {
    auto child = PtyProcess::run([](int) { return ProbeCommand::scrollProbe(Language::en, {10s, 10s}); });
    ASSERT_TRUE(child.readUntilContains(mouseOn, 10s)) << child.output();
    EXPECT_NE(child.output().find("Scroll with the wheel or trackpad over this window (10 s or any key to stop)"),
              std::string::npos);
    child.write("\x1b[<65;3;3M\x1b[<65;3;3M");
    child.write("q");
    const auto status = child.wait(10s);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    child.readFor(100ms);
    EXPECT_NE(child.output().find("2 events in 1 gestures"), std::string::npos) << child.output();
    EXPECT_TRUE(isCooked(child.attributes()));
}

TEST(ProbeCommand, ProbeWithASilentTerminalReportsNoAnswersAndNoClick) {
    auto child = PtyProcess::run([](int) { return ProbeCommand::probe(Language::en, {1s, 1s}); });
    const auto status = child.wait(20s);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    child.readFor(100ms);
    const std::string& out = child.output();
    for (const char* line : {"Live terminal probe", "the terminal did not answer DA1",
                             "no answer (the terminal does not implement DECRQM)", "24-bit sample",
                             "Click anywhere in this window", "no click arrived"}) {
        EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
    }
}

// A kill or a crash while the probe waits leaves a usable terminal: mouse
// reporting off, the saved attributes back, then the signal's own end.
TEST(ProbeCommand, KilledOrCrashingDuringItsWaitsGivesTheTerminalBack) {
    struct Case {
        bool scroll;
        int signal;
    };
    const Case cases[] = {{true, SIGTERM}, {true, SIGHUP}, {true, SIGINT}, {true, SIGSEGV},
                          {false, SIGTERM}, {false, SIGQUIT}, {false, SIGABRT}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.scroll ? "scroll-probe" : "doctor --probe") + " signal " +
                     std::to_string(c.signal));
        auto child = PtyProcess::run([scroll = c.scroll](int) {
            const rlimit noCore{0, 0};
            setrlimit(RLIMIT_CORE, &noCore);
            return scroll ? ProbeCommand::scrollProbe(Language::en, {30s, 30s})
                          : ProbeCommand::probe(Language::en, {30s, 30s});
        });
        // The click wait (or the recording) has switched the mouse on.
        ASSERT_TRUE(child.readUntilContains(mouseOn, 15s)) << child.output();
        child.clearOutput();
        ::kill(child.pid(), c.signal);
        const auto status = child.wait(10s);
        ASSERT_TRUE(status);
        EXPECT_TRUE(WIFSIGNALED(*status));
        EXPECT_EQ(WTERMSIG(*status), c.signal);
        child.readFor(100ms);
        EXPECT_EQ(child.output(), std::string(ProbeTerminalGuard::resetSequence));
        EXPECT_TRUE(isCooked(child.attributes()));
    }
}

TEST(ProbeCommand, AfterTheProbeTheSignalsAreAsBefore) {
    auto child = PtyProcess::run([](int out) {
        signal(SIGINT, SIG_IGN);
        const int code = ProbeCommand::scrollProbe(Language::en, {5s, 5s});
        struct sigaction term {}, interrupt {}, segv {};
        sigaction(SIGTERM, nullptr, &term);
        sigaction(SIGINT, nullptr, &interrupt);
        sigaction(SIGSEGV, nullptr, &segv);
        testing::report(out, std::string("code ") + std::to_string(code) +
                                 (term.sa_handler == SIG_DFL ? " term-default" : " term-changed") +
                                 (interrupt.sa_handler == SIG_IGN ? " int-ignored" : " int-changed") +
                                 (segv.sa_handler == SIG_DFL ? " segv-default" : " segv-changed"));
        return 0;
    });
    ASSERT_TRUE(child.readUntilContains(mouseOn, 10s)) << child.output();
    child.write("q");
    EXPECT_TRUE(child.waitForReport("code 0 term-default int-ignored segv-default", 10s))
        << ::testing::PrintToString(child.reports());
}

TEST(ProbeCommand, WithoutATerminalBothProbesRefuseAndPrintNothing) {
    for (const bool scroll : {true, false}) {
        const auto outcome = testing::runWithoutTerminal([scroll] {
            return scroll ? ProbeCommand::scrollProbe(Language::en) : ProbeCommand::probe(Language::en);
        });
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(outcome.output, "");
    }
}

}  // namespace
}  // namespace tarv::app
