// The runtime loop on a real pseudo-terminal, driving a small fake
// application (FakeHost): each test runs the loop in a child process whose
// terminal is a new pty and watches what reaches the terminal.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <map>

#include "FakeHost.hpp"
#include "Support/NoTerminalProcess.hpp"
#include "Support/ProcessTestUtil.hpp"
#include "Support/PtyProcess.hpp"
#include "TarvApp/Runtime/RuntimeLoop.hpp"

namespace tarv::app {
namespace {

using namespace std::chrono_literals;
using tarv::testing::contextSwitches;
using tarv::testing::PtyProcess;
using tarv::testing::report;

const std::string enter = "\x1b[?1049h\x1b[?25l\x1b[2J";
const std::string reset =
    "\x1b[?2004l\x1b[?1004l\x1b[?1006l\x1b[?1002l\x1b[?1000l\x1b[0m\x1b[?25h\x1b[?1049l";

bool isRaw(const termios& t) { return !(t.c_lflag & (ICANON | ECHO | ISIG)); }

// Waits for a report that contains `text`, keeping the terminal drained.
bool waitForReportContaining(PtyProcess& child, const std::string& text,
                             std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    std::size_t seen = 0;
    while (std::chrono::steady_clock::now() < until) {
        child.readFor(5ms);
        while (child.nextReport(2ms)) {
        }
        const auto& reports = child.reports();
        for (; seen < reports.size(); ++seen) {
            if (reports[seen].find(text) != std::string::npos) return true;
        }
    }
    return false;
}

bool reported(const PtyProcess& child, const std::string& line) {
    return std::find(child.reports().begin(), child.reports().end(), line) != child.reports().end();
}

// Runs programs by reporting them; "vim" and "vi" start or not as scripted.
class ScriptedForeground final : public core::ForegroundProcessRunning {
public:
    ScriptedForeground(int reportFD, std::map<std::string, bool> starts)
        : report_(reportFD), starts_(std::move(starts)) {}
    std::optional<std::int32_t> run(const std::string& program, const std::vector<std::string>& arguments,
                                    std::stop_token) override {
        std::string line = "ran " + program;
        for (const std::string& a : arguments) line += " " + a;
        report(report_, line + (testing::isRawTerminal() ? " on raw" : " on cooked"));
        if (!starts_[program]) return std::nullopt;
        return 0;
    }

private:
    int report_;
    std::map<std::string, bool> starts_;
};

struct Options {
    std::map<std::string, bool> starts;
    std::chrono::milliseconds clock{30000};
    // Posts a late job's action and drains the queue after the loop ended.
    bool drainAfterwards = false;
};

PtyProcess startLoop(Options options = {}) {
    return PtyProcess::run([options](int out) {
        auto queue = std::make_shared<core::MainQueue>();
        testing::FakeHost host(queue, out);
        auto foreground = std::make_shared<ScriptedForeground>(out, options.starts);
        RuntimeLoop::Settings settings;
        settings.clockInterval = options.clock;
        RuntimeLoop loop(host, queue, foreground, [out] { report(out, "shutdown"); }, settings);
        const int code = loop.run("/start/dir");
        report(out, "exit " + std::to_string(code));
        if (options.drainAfterwards) {
            const int framesAtExit = host.framesDrawn();
            const auto until = std::chrono::steady_clock::now() + 1s;
            while (std::chrono::steady_clock::now() < until) {
                queue->drain();
                std::this_thread::sleep_for(10ms);
            }
            const auto& lines = host.store().state().lines;
            const bool late = std::find(lines.begin(), lines.end(), "late action") != lines.end();
            report(out, std::string(late ? "late action reduced" : "no late action") + ", frames drawn after exit " +
                            std::to_string(host.framesDrawn() - framesAtExit));
        }
        return code;
    });
}

void expectCleanExit(PtyProcess& child) {
    ASSERT_TRUE(waitForReportContaining(child, "exit 0")) << ::testing::PrintToString(child.reports());
    const auto status = child.wait(10s);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    child.readFor(50ms);
    EXPECT_TRUE(child.attributes().c_lflag & ICANON);
    EXPECT_EQ(child.output().substr(child.output().size() - std::min(child.output().size(), reset.size())), reset);
}

TEST(RuntimeLoop, LaunchesDrawsAndQuitsThroughTheHost) {
    auto child = startLoop();
    ASSERT_TRUE(child.readUntilContains("launched /start/dir", 10s)) << child.output();
    EXPECT_EQ(child.output().rfind(enter, 0), 0u);
    child.write("x");
    ASSERT_TRUE(waitForReportContaining(child, "last x")) << ::testing::PrintToString(child.reports());
    child.write("q");
    expectCleanExit(child);
    EXPECT_TRUE(reported(child, "detached while raw")) << ::testing::PrintToString(child.reports());
    EXPECT_TRUE(reported(child, "shutdown"));
}

TEST(RuntimeLoop, ControlCQuitsThroughTheStateAndSignalsEndTheLoop) {
    struct Case {
        std::string bytes;
        int signal;
    };
    const Case cases[] = {{"\x03", 0}, {"", SIGTERM}, {"", SIGHUP}, {"", SIGINT}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.signal);
        auto child = startLoop();
        ASSERT_TRUE(child.readUntilContains("launched", 10s)) << child.output();
        if (c.signal != 0) {
            ::kill(child.pid(), c.signal);
        } else {
            child.write(c.bytes);
        }
        expectCleanExit(child);
    }
}

TEST(RuntimeLoop, WithoutATerminalItShutsDownAndExitsOneWithoutTouchingTheScreen) {
    const auto outcome = tarv::testing::runWithoutTerminal([] {
        auto queue = std::make_shared<core::MainQueue>();
        testing::FakeHost host(queue, -1);
        bool shutdown = false;
        RuntimeLoop loop(host, queue, nullptr, [&] { shutdown = true; }, {});
        const int code = loop.run("/x");
        return code == 1 && shutdown && host.framesDrawn() == 0 ? 7 : 1;
    });
    EXPECT_EQ(outcome.exitCode, 7);
    EXPECT_EQ(outcome.output, "");
}

TEST(RuntimeLoop, ResizeRedrawsAtTheNewSize) {
    auto child = startLoop();
    ASSERT_TRUE(waitForReportContaining(child, "size 80x24"));
    child.clearOutput();
    child.resize(100, 30);
    ASSERT_TRUE(waitForReportContaining(child, "size 100x30"));
    // Redrawn whole: the launch line (unchanged) is written again.
    EXPECT_TRUE(child.readUntilContains("launched /start/dir", 5s)) << child.output();
    child.write("q");
    expectCleanExit(child);
}

// ctrl-Z from the keyboard and SIGTSTP from outside both give the terminal
// back before stopping and take it again on continue.
TEST(RuntimeLoop, ControlZAndAnExternalStopSignalSuspendAlike) {
    for (const bool external : {false, true}) {
        SCOPED_TRACE(external ? "kill -TSTP" : "ctrl-Z");
        auto child = startLoop();
        ASSERT_TRUE(child.readUntilContains("launched", 10s)) << child.output();
        child.clearOutput();
        if (external) {
            ::kill(child.pid(), SIGTSTP);
        } else {
            child.write("\x1a");
        }
        const auto stopped = child.wait(10s, true);
        ASSERT_TRUE(stopped);
        ASSERT_TRUE(WIFSTOPPED(*stopped));
        ASSERT_TRUE(child.readUntilContains(reset, 5s)) << child.output();
        EXPECT_TRUE(child.attributes().c_lflag & ICANON);
        child.clearOutput();
        ::kill(child.pid(), SIGCONT);
        ASSERT_TRUE(child.readUntilContains("launched /start/dir", 10s)) << child.output();
        EXPECT_EQ(child.output().rfind(enter, 0), 0u);
        EXPECT_TRUE(isRaw(child.attributes()));
        child.write("q");
        expectCleanExit(child);
    }
}

TEST(RuntimeLoop, SpinnerTurnsOnlyWhileBusy) {
    auto child = startLoop();
    ASSERT_TRUE(waitForReportContaining(child, "frame tick 0"));
    child.write("b");
    ASSERT_TRUE(waitForReportContaining(child, "frame tick 4", 5s));
    child.write("n");
    // Once idle, nothing more is drawn.
    child.readFor(300ms);
    while (child.nextReport(2ms)) {
    }
    const std::size_t frames = child.reports().size();
    child.clearOutput();
    child.readFor(500ms);
    while (child.nextReport(2ms)) {
    }
    EXPECT_EQ(child.output(), "");
    EXPECT_EQ(child.reports().size(), frames);
    child.write("q");
    expectCleanExit(child);
}

TEST(RuntimeLoop, ClockSendsATickEveryInterval) {
    Options options;
    options.clock = 150ms;
    auto child = startLoop(options);
    ASSERT_TRUE(waitForReportContaining(child, "clock 3"));
    child.write("q");
    expectCleanExit(child);
}

TEST(RuntimeLoop, NothingWakesTheProcessWhileIdle) {
    auto child = startLoop();
    ASSERT_TRUE(child.readUntilContains("launched", 10s)) << child.output();
    child.readFor(200ms);
    const std::int64_t before = contextSwitches(child.pid());
    std::this_thread::sleep_for(5s);
    const std::int64_t after = contextSwitches(child.pid());
    ASSERT_GE(before, 0);
    EXPECT_EQ(after, before);
    child.write("q");
    expectCleanExit(child);
}

// `e` asks for the terminal editor (vim, then vi), `E` for a chosen editor's
// command line: either gets the terminal in its normal mode.
TEST(RuntimeLoop, TerminalEditorGetsTheTerminalVimFirstThenVi) {
    struct Case {
        std::string key;
        std::map<std::string, bool> starts;
        std::vector<std::string> runs;
        std::string outcome;
    };
    const Case cases[] = {
        {"e", {{"vim", true}}, {"ran vim -- /tmp/notes.txt on cooked"}, "editor done"},
        {"e", {{"vi", true}}, {"ran vim -- /tmp/notes.txt on cooked", "ran vi -- /tmp/notes.txt on cooked"},
         "editor done"},
        {"e", {}, {"ran vim -- /tmp/notes.txt on cooked", "ran vi -- /tmp/notes.txt on cooked"}, "editor failed"},
        {"E", {{"nano", true}}, {"ran nano -w /tmp/notes.txt on cooked"}, "editor done"},
        {"E", {}, {"ran nano -w /tmp/notes.txt on cooked"}, "editor failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key + " " + c.outcome + " " + std::to_string(c.runs.size()));
        Options options;
        options.starts = c.starts;
        auto child = startLoop(options);
        ASSERT_TRUE(child.readUntilContains("launched", 10s)) << child.output();
        child.write(c.key);
        ASSERT_TRUE(child.readUntilContains(c.outcome, 10s)) << child.output();
        EXPECT_TRUE(isRaw(child.attributes()));
        waitForReportContaining(child, "frame", 1s);
        std::vector<std::string> runs;
        bool drewWhileLent = false;
        bool lent = false;
        for (const std::string& r : child.reports()) {
            if (r.rfind("ran ", 0) == 0) {
                runs.push_back(r);
                lent = true;
            }
            if (lent && runs.size() < c.runs.size() && r.rfind("frame", 0) == 0) drewWhileLent = true;
        }
        EXPECT_FALSE(drewWhileLent);
        EXPECT_EQ(runs, c.runs);
        child.write("q");
        expectCleanExit(child);
    }
}

// A write (never stopped) reports back after quit: its action is
// reduced if anyone drains the queue, but no frame reaches the terminal once
// it has been given back, and the host was detached while the terminal was
// still the interface's.
TEST(RuntimeLoop, NoFrameIsWrittenAfterTheTerminalIsGivenBack) {
    Options options;
    options.drainAfterwards = true;
    auto child = startLoop(options);
    ASSERT_TRUE(child.readUntilContains("launched", 10s)) << child.output();
    child.write("j");
    child.write("q");
    ASSERT_TRUE(waitForReportContaining(child, "late action reduced, frames drawn after exit 0"))
        << ::testing::PrintToString(child.reports());
    const auto status = child.wait(10s);
    ASSERT_TRUE(status);
    child.readFor(100ms);
    const std::string& out = child.output();
    const auto lastReset = out.rfind(reset);
    ASSERT_NE(lastReset, std::string::npos);
    EXPECT_EQ(out.substr(lastReset + reset.size()), "");
    EXPECT_EQ(out.find("late action"), std::string::npos);
    const auto& reports = child.reports();
    EXPECT_NE(std::find(reports.begin(), reports.end(), "detached while raw"), reports.end())
        << ::testing::PrintToString(reports);
}

}  // namespace
}  // namespace tarv::app
