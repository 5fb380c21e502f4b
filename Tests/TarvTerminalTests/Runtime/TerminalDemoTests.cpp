// The live terminal session, input pump, renderer and scheduler together, in
// the small demo program, on real terminals: tmux (keys, raw bytes, a real
// bracketed paste, signals, suspension, resizing, what the screen shows and
// which modes the pane is in) and a pseudo-terminal (the bytes written).

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "Support/PtyProcess.hpp"
#include "Support/TmuxSession.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"

namespace tarv::terminal {
namespace {

using namespace std::chrono_literals;
using testing::PtyProcess;
using testing::TmuxSession;

const std::string demo = std::string(TARV_BINARY_DIR) + "/test-programs/tarv_terminal_demo";
// alternate screen, any mouse reporting, cursor shown
const std::string modesFormat = "#{alternate_on} #{mouse_any_flag} #{cursor_flag}";
const std::string running = "1 1 0";
const std::string restored = "0 0 1";

class DemoInTmux : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TmuxSession::available()) GTEST_SKIP() << "tmux is not installed";
        ASSERT_EQ(access(demo.c_str(), X_OK), 0) << demo << " is not built";
        tmux = std::make_unique<TmuxSession>(80, 24);
        pidFile = tmux->directory() + "/demo.pid";
        tmux->typeLine("ulimit -c 0; " + demo + " --pid-file " + pidFile);
        ASSERT_TRUE(tmux->waitForText("tarv terminal demo")) << tmux->capture();
        ASSERT_TRUE(tmux->waitForDisplay(modesFormat, running)) << tmux->display(modesFormat);
    }

    pid_t demoPid() {
        std::ifstream in(pidFile);
        pid_t pid = 0;
        in >> pid;
        return pid;
    }

    bool waitForLast(const std::string& text) { return tmux->waitForText("last: " + text); }

    std::unique_ptr<TmuxSession> tmux;
    std::string pidFile;
};

TEST_F(DemoInTmux, QuitGivesTheTerminalBack) {
    tmux->sendLiteral("q");
    ASSERT_TRUE(tmux->waitForText("demo finished")) << tmux->capture();
    EXPECT_TRUE(tmux->waitForDisplay(modesFormat, restored)) << tmux->display(modesFormat);
}

TEST_F(DemoInTmux, KeysMouseAndPasteArriveDecoded) {
    tmux->sendKeys({"Up"});
    EXPECT_TRUE(waitForLast("key up")) << tmux->capture();
    tmux->sendKeys({"F5"});
    EXPECT_TRUE(waitForLast("key F5")) << tmux->capture();
    tmux->sendKeys({"C-s"});
    EXPECT_TRUE(waitForLast("key ctrl+'s'")) << tmux->capture();
    tmux->sendBytes("\x1b[<0;10;5M");
    EXPECT_TRUE(waitForLast("mouse press left at 9,4")) << tmux->capture();
    tmux->sendBytes("\x1b[<65;3;3M");
    EXPECT_TRUE(waitForLast("mouse scroll down at 2,2")) << tmux->capture();
    tmux->paste("hello paste");
    EXPECT_TRUE(waitForLast("paste [hello paste]")) << tmux->capture();
    tmux->sendBytes("\x1b[I");
    EXPECT_TRUE(waitForLast("focus in")) << tmux->capture();
}

TEST_F(DemoInTmux, HangUpSignalGivesTheTerminalBack) {
    ASSERT_GT(demoPid(), 0);
    kill(demoPid(), SIGHUP);
    ASSERT_TRUE(tmux->waitForText("demo finished")) << tmux->capture();
    EXPECT_TRUE(tmux->waitForDisplay(modesFormat, restored)) << tmux->display(modesFormat);
}

TEST_F(DemoInTmux, TerminationSignalGivesTheTerminalBack) {
    ASSERT_GT(demoPid(), 0);
    kill(demoPid(), SIGTERM);
    ASSERT_TRUE(tmux->waitForText("demo finished")) << tmux->capture();
    EXPECT_TRUE(tmux->waitForDisplay(modesFormat, restored)) << tmux->display(modesFormat);
}

TEST_F(DemoInTmux, AbortGivesTheTerminalBackBeforeDying) {
    ASSERT_GT(demoPid(), 0);
    kill(demoPid(), SIGABRT);
    EXPECT_TRUE(tmux->waitForDisplay(modesFormat, restored)) << tmux->display(modesFormat);
    // The shell is usable again: it echoes what is typed, line by line.
    tmux->typeLine("echo back-in-the-shell");
    EXPECT_TRUE(tmux->waitForScreen([](const std::string& screen) {
        const auto first = screen.find("back-in-the-shell");
        return first != std::string::npos && screen.find("back-in-the-shell", first + 1) != std::string::npos;
    })) << tmux->capture();
}

TEST_F(DemoInTmux, SuspendAndContinue) {
    tmux->sendKeys({"C-z"});
    ASSERT_TRUE(tmux->waitForText("Stopped")) << tmux->capture();
    EXPECT_TRUE(tmux->waitForDisplay(modesFormat, restored)) << tmux->display(modesFormat);
    tmux->typeLine("fg");
    ASSERT_TRUE(waitForLast("continued")) << tmux->capture();
    EXPECT_TRUE(tmux->waitForDisplay(modesFormat, running)) << tmux->display(modesFormat);
    EXPECT_TRUE(tmux->waitForText("tarv terminal demo"));
    tmux->sendLiteral("q");
    EXPECT_TRUE(tmux->waitForText("demo finished")) << tmux->capture();
}

TEST_F(DemoInTmux, ExternalProgramGetsANormalTerminal) {
    tmux->sendLiteral("x");
    ASSERT_TRUE(tmux->waitForText("external program running")) << tmux->capture();
    EXPECT_TRUE(tmux->waitForDisplay(modesFormat, restored)) << tmux->display(modesFormat);
    tmux->typeLine("done");
    ASSERT_TRUE(waitForLast("external program finished")) << tmux->capture();
    EXPECT_TRUE(tmux->waitForDisplay(modesFormat, running)) << tmux->display(modesFormat);
}

TEST_F(DemoInTmux, ResizeRedrawsAtTheNewSize) {
    tmux->resize(100, 30);
    ASSERT_TRUE(tmux->waitForText("size 100x30")) << tmux->capture();
    EXPECT_TRUE(waitForLast("resize 100x30")) << tmux->capture();
    tmux->resize(60, 20);
    ASSERT_TRUE(tmux->waitForText("size 60x20")) << tmux->capture();
}

// Wide characters, an emoji and a combining mark on one row do not shift the
// rest of it: its "|" stands in the same column as on the plain row, and the
// last column's "<" is in the last column.
TEST_F(DemoInTmux, MixedRowLinesUp) {
    std::string ascii, mixed;
    ASSERT_TRUE(tmux->waitForScreen([&](const std::string& screen) {
        std::istringstream lines(screen);
        std::string line;
        while (std::getline(lines, line)) {
            if (line.rfind("ascii:", 0) == 0) ascii = line;
            if (line.rfind("mixed:", 0) == 0) mixed = line;
        }
        return !ascii.empty() && !mixed.empty();
    })) << tmux->capture();
    const auto bar = [](const std::string& line) { return DisplayWidth::width(line.substr(0, line.find('|'))); };
    EXPECT_EQ(bar(ascii), 18) << ascii;
    EXPECT_EQ(bar(mixed), 18) << mixed;
    ASSERT_NE(mixed.find('<'), std::string::npos) << mixed;
    EXPECT_EQ(DisplayWidth::width(mixed.substr(0, mixed.find('<'))), 79) << mixed;
}

TEST(DemoOnPty, WritesFramesInSynchronizedUpdatesAndRestoresOnQuit) {
    ASSERT_EQ(access(demo.c_str(), X_OK), 0) << demo << " is not built";
    auto child = PtyProcess::spawn({demo}, 60, 10);
    ASSERT_TRUE(child.readUntilContains("tarv terminal demo", 10s)) << ::testing::PrintToString(child.output());
    const std::string& out = child.output();
    EXPECT_EQ(out.rfind("\x1b[?1049h\x1b[?25l\x1b[2J", 0), 0u);
    EXPECT_NE(out.find("\x1b[?2026h\x1b[?25l\x1b[0m\x1b[2J"), std::string::npos);
    child.readUntilContains("\x1b[?2026l", 5s);
    child.clearOutput();
    child.write("q");
    ASSERT_TRUE(child.readUntilContains("demo finished", 10s)) << ::testing::PrintToString(child.output());
    EXPECT_NE(child.output().find(
                  "\x1b[?2004l\x1b[?1004l\x1b[?1006l\x1b[?1002l\x1b[?1000l\x1b[0m\x1b[?25h\x1b[?1049l"),
              std::string::npos);
    const auto status = child.wait(10s);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
}

TEST(DemoOnPty, RefusesToRunWithoutATerminal) {
    ASSERT_EQ(access(demo.c_str(), X_OK), 0);
    const std::string command = demo + " < /dev/null > /dev/null 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

}  // namespace
}  // namespace tarv::terminal
