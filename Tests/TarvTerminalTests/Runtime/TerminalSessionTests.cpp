// The terminal session against a real pseudo-terminal: each test runs the
// session in a child process whose terminal is a new pty and reads, byte for
// byte, what the child writes to it.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "Support/NoTerminalProcess.hpp"
#include "Support/PtyProcess.hpp"
#include "Support/TerminalEventDescription.hpp"
#include "TarvTerminal/Backend/TerminalError.hpp"
#include "TarvTerminal/Backend/TerminalOutput.hpp"
#include "TarvTerminal/Runtime/TerminalSession.hpp"

namespace tarv::terminal {
namespace {

using namespace std::chrono_literals;
using testing::PtyProcess;
using testing::report;

const std::string allOn =
    "\x1b[?1049h\x1b[?25l\x1b[2J\x1b[?1000h\x1b[?1002h\x1b[?1006h\x1b[?1004h\x1b[?2004h";
const std::string reset =
    "\x1b[?2004l\x1b[?1004l\x1b[?1006l\x1b[?1002l\x1b[?1000l\x1b[0m\x1b[?25h\x1b[?1049l";

// The size is that of the terminal the frames reach, whichever standard
// descriptors were redirected: output piped (`tarv | cat`), and also input
// and error, which leaves only the controlling terminal.
TEST(TerminalSessionSize, IsTheTerminalsWhenStandardDescriptorsAreNotIt) {
    struct Case {
        const char* name;
        std::vector<int> redirected;
    };
    const Case cases[] = {{"output piped", {1}}, {"every standard descriptor elsewhere", {0, 1, 2}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto child = PtyProcess::run(
            [&](int out) {
                int sink[2];
                if (pipe(sink) != 0) return 2;
                for (const int descriptor : c.redirected) dup2(sink[1], descriptor);
                const Size size = TerminalSession().size();
                report(out, std::to_string(size.width) + "x" + std::to_string(size.height));
                return 0;
            },
            120, 40);
        const auto line = child.nextReport(10s);
        ASSERT_TRUE(line.has_value());
        EXPECT_EQ(*line, "120x40");
        EXPECT_TRUE(child.wait(10s));
    }
}

bool isRaw(const termios& t) {
    return !(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN)) && !(t.c_iflag & (ICRNL | IXON)) && !(t.c_oflag & OPOST);
}

// Waits in the child for a key event with this character.
bool waitForKey(InputEventStream& events, const std::string& character) {
    while (auto event = events.next(10s)) {
        if (const auto* key = event->get<InputEvent::Key>()) {
            if (key->event == KeyEvent::character(character)) return true;
        }
    }
    return false;
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(TerminalSession, SequencesDependOnOptionsOnlyOnEntry) {
    EXPECT_EQ(TerminalSession::enterSequence({false, false, false}), "\x1b[?1049h\x1b[?25l\x1b[2J");
    EXPECT_EQ(TerminalSession::enterSequence({true, true, true}), allOn);
    EXPECT_EQ(TerminalSession::enterSequence({false, true, false}), "\x1b[?1049h\x1b[?25l\x1b[2J\x1b[?1004h");
    EXPECT_EQ(TerminalSession::resetSequence(), reset);
    EXPECT_EQ(TerminalSession::resetSequence().size(), 58u);
}

TEST(TerminalSession, StartTakesTheTerminalAndStopGivesItBackOnce) {
    auto child = PtyProcess::run([](int out) {
        TerminalSession session;
        auto events = session.start();
        report(out, "started");
        if (!waitForKey(*events, "s")) return 2;
        session.stop();
        report(out, "stopped");
        session.stop();
        report(out, "stopped again");
        return 0;
    });
    ASSERT_TRUE(child.waitForReport("started", 10s));
    ASSERT_TRUE(child.readUntil([](const std::string& o) { return o.size() >= allOn.size(); }, 5s));
    EXPECT_EQ(child.output(), allOn);
    EXPECT_TRUE(isRaw(child.attributes()));
    child.clearOutput();
    child.write("s");
    ASSERT_TRUE(child.waitForReport("stopped", 10s));
    ASSERT_TRUE(child.waitForReport("stopped again", 10s));
    const auto status = child.wait(10s);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    child.readFor(100ms);
    EXPECT_EQ(child.output(), reset);
    EXPECT_TRUE(child.attributes().c_lflag & ICANON);
    EXPECT_TRUE(child.attributes().c_lflag & ECHO);
}

TEST(TerminalSession, StopWithoutStartWritesNothing) {
    auto child = PtyProcess::run([](int out) {
        {
            TerminalSession session;
            session.stop();
        }
        report(out, "done");
        return 0;
    });
    ASSERT_TRUE(child.waitForReport("done", 10s));
    ASSERT_TRUE(child.wait(10s));
    child.readFor(50ms);
    EXPECT_EQ(child.output(), "");
}

TEST(TerminalSession, WithoutOptionsOnlyTheScreenIsEntered) {
    auto child = PtyProcess::run([](int out) {
        TerminalSession session(TerminalSession::Options{false, false, false});
        session.start();
        report(out, "started");
        return 0;  // the destructor stops the session
    });
    ASSERT_TRUE(child.waitForReport("started", 10s));
    ASSERT_TRUE(child.wait(10s));
    child.readFor(50ms);
    EXPECT_EQ(child.output(), "\x1b[?1049h\x1b[?25l\x1b[2J" + reset);
}

TEST(TerminalSession, StandardInputNotATerminalThrowsAndWritesNothing) {
    const auto outcome = testing::runWithoutTerminal([] {
        try {
            TerminalSession session;
            session.start();
        } catch (const TerminalError& error) {
            return error == TerminalError::notATTY() ? 0 : 3;
        }
        return 4;
    });
    EXPECT_EQ(outcome.output, "");
    EXPECT_EQ(outcome.exitCode, 0);
}

TEST(TerminalSession, FatalSignalRestoresTheTerminalThenDies) {
    auto child = PtyProcess::run([](int out) {
        TerminalSession session;
        session.start();
        report(out, "started");
        abort();
        return 0;
    });
    ASSERT_TRUE(child.waitForReport("started", 10s));
    const auto status = child.wait(10s);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFSIGNALED(*status));
    EXPECT_EQ(WTERMSIG(*status), SIGABRT);
    child.readFor(100ms);
    EXPECT_EQ(child.output(), allOn + reset);
    EXPECT_TRUE(child.attributes().c_lflag & ICANON);
}

TEST(TerminalSession, AfterStopAFatalSignalTakesItsDefaultActionAlone) {
    auto child = PtyProcess::run([](int out) {
        TerminalSession session;
        session.start();
        session.stop();
        report(out, "stopped");
        abort();
        return 0;
    });
    ASSERT_TRUE(child.waitForReport("stopped", 10s));
    const auto status = child.wait(10s);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFSIGNALED(*status));
    EXPECT_EQ(WTERMSIG(*status), SIGABRT);
    child.readFor(100ms);
    EXPECT_EQ(count(child.output(), reset), 1u);
}

// Once the session has stopped, a hangup or SIGTERM ends the process again
// however long its exit takes (here: forever). With them still ignored, a
// program stuck on its way out outlived its terminal.
TEST(TerminalSession, AfterStopHangupAndTerminationEndTheProcess) {
    for (const int signalNumber : {SIGHUP, SIGTERM}) {
        auto child = PtyProcess::run([](int out) {
            TerminalSession session;
            session.start();
            session.stop();
            report(out, "stopped");
            for (;;) pause();
            return 0;
        });
        ASSERT_TRUE(child.waitForReport("stopped", 10s));
        if (signalNumber == SIGHUP) {
            child.hangUp();
        } else {
            kill(child.pid(), SIGTERM);
        }
        const auto status = child.wait(10s);
        ASSERT_TRUE(status) << "still running after signal " << signalNumber;
        EXPECT_TRUE(WIFSIGNALED(*status));
        EXPECT_EQ(WTERMSIG(*status), signalNumber);
    }
}

TEST(TerminalSession, SuspendGivesTheTerminalBackAndTakesItAgainOnContinue) {
    auto child = PtyProcess::run([](int out) {
        TerminalSession session;
        auto events = session.start();
        report(out, "started");
        if (!waitForKey(*events, "z")) return 2;
        session.suspend();
        report(out, "continued");
        if (!waitForKey(*events, "q")) return 3;
        return 0;
    });
    ASSERT_TRUE(child.waitForReport("started", 10s));
    child.readUntilContains(allOn, 5s);
    child.clearOutput();
    child.write("z");
    const auto stopped = child.wait(10s, true);
    ASSERT_TRUE(stopped);
    ASSERT_TRUE(WIFSTOPPED(*stopped));
    child.readUntilContains(reset, 5s);
    EXPECT_EQ(child.output(), reset);
    EXPECT_TRUE(child.attributes().c_lflag & ICANON);
    child.clearOutput();
    kill(child.pid(), SIGCONT);
    ASSERT_TRUE(child.waitForReport("continued", 10s));
    child.readUntilContains(allOn, 5s);
    EXPECT_EQ(child.output(), allOn);
    EXPECT_TRUE(isRaw(child.attributes()));
    child.write("q");
    const auto status = child.wait(10s);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
}

TEST(TerminalSession, LendsTheTerminalToAnExternalProgramAndDropsWhatWasTypedMeanwhile) {
    auto child = PtyProcess::run([](int out) {
        TerminalSession session;
        auto events = session.start();
        report(out, "started");
        if (!waitForKey(*events, "x")) return 2;
        session.suspendForExternalProgram();
        report(out, "lent");
        // The program reads a line the way programs do on a normal terminal.
        char line[64] = {0};
        if (!fgets(line, sizeof line, stdin)) return 3;
        std::string text = line;
        if (!text.empty() && text.back() == '\n') text.pop_back();
        report(out, "program read " + text);
        session.resumeAfterExternalProgram();
        report(out, "resumed");
        auto event = events->next(10s);
        report(out, event ? describe(*event) : "nothing");
        return 0;
    });
    ASSERT_TRUE(child.waitForReport("started", 10s));
    child.write("x");
    ASSERT_TRUE(child.waitForReport("lent", 10s));
    EXPECT_TRUE(child.attributes().c_lflag & ICANON);
    child.write("hello\nleftover");
    ASSERT_TRUE(child.waitForReport("program read hello", 10s));
    ASSERT_TRUE(child.waitForReport("resumed", 10s));
    EXPECT_TRUE(isRaw(child.attributes()));
    child.write("k");
    ASSERT_TRUE(child.waitForReport("key 'k'", 10s)) << ::testing::PrintToString(child.reports());
}

TEST(TerminalSession, WritesToASlowNonBlockingTerminalWaitInsteadOfSpinning) {
    const std::string payload = [] {
        std::string p;
        for (int i = 0; p.size() < 256 * 1024; ++i) p += "line " + std::to_string(i) + "\r\n";
        return p;
    }();
    auto child = PtyProcess::run([&payload](int out) {
        termios t{};
        tcgetattr(1, &t);
        cfmakeraw(&t);
        tcsetattr(1, TCSANOW, &t);
        fcntl(1, F_SETFL, fcntl(1, F_GETFL) | O_NONBLOCK);
        // Interruptions by a signal whose handler does not restart calls.
        struct sigaction action {};
        action.sa_handler = [](int) {};
        sigaction(SIGUSR1, &action, nullptr);
        report(out, "ready");
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        const auto start = std::chrono::steady_clock::now();
        TerminalOutput::writeAll(1, payload);
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        const auto seconds = [](const timeval& tv) { return double(tv.tv_sec) + double(tv.tv_usec) / 1e6; };
        const double cpu = seconds(after.ru_utime) - seconds(before.ru_utime) + seconds(after.ru_stime) -
                           seconds(before.ru_stime);
        report(out, cpu < wall / 2 ? "calm" : "busy cpu " + std::to_string(cpu) + " wall " + std::to_string(wall));
        return 0;
    });
    ASSERT_TRUE(child.waitForReport("ready", 10s));
    // A slow reader (4 KiB every 2 ms) that also interrupts the writer now
    // and then.
    std::string received;
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    for (int round = 0; received.size() < payload.size() && std::chrono::steady_clock::now() < deadline; ++round) {
        char buffer[4096];
        const ssize_t n = read(child.master(), buffer, sizeof buffer);
        if (n > 0) received.append(buffer, static_cast<std::size_t>(n));
        if (round % 5 == 0) kill(child.pid(), SIGUSR1);
        std::this_thread::sleep_for(2ms);
    }
    EXPECT_EQ(received.size(), payload.size());
    EXPECT_TRUE(received == payload);
    const auto verdict = child.nextReport(10s);
    ASSERT_TRUE(verdict);
    EXPECT_EQ(*verdict, "calm");
}

}  // namespace
}  // namespace tarv::terminal
