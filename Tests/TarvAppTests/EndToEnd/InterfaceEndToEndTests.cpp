// The whole program in a real terminal (tmux): start, the screen of a real
// repository, quitting, signals, job control, resizing, idling, the
// gallery.

#include <gtest/gtest.h>

#include <signal.h>

#include <fstream>

#include "Support/ProcessTestUtil.hpp"
#include "TarvInTmux.hpp"

namespace tarv::app {
namespace {

using namespace std::chrono_literals;
using tarv::testing::contextSwitches;
using testing::TarvInTmux;

class Interface : public ::testing::Test {
protected:
    void SetUp() override {
        if (!tarv::testing::TmuxSession::available()) GTEST_SKIP() << "tmux is not installed";
        t = std::make_unique<TarvInTmux>();
        t->writeFile("draft.txt", "a draft\n");
    }
    std::unique_ptr<TarvInTmux> t;
};

TEST_F(Interface, OpensTheRepositoryAndQuitsWithControlC) {
    t->writeFile("notes/todo.txt", "milk\n");
    t->start();
    ASSERT_TRUE(t->tmux->waitForText("todo.txt")) << t->tmux->capture();
    EXPECT_TRUE(t->tmux->waitForText("main")) << t->tmux->capture();
    t->tmux->sendKeys({"C-c"});
    t->expectExitedCleanly();
}

TEST_F(Interface, TerminatingSignalsEndItCleanly) {
    for (const int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        t->start();
        ASSERT_TRUE(t->tmux->waitForText("draft.txt")) << t->tmux->capture();
        ASSERT_GT(t->pid(), 0);
        ::kill(t->pid(), signal);
        t->expectExitedCleanly();
    }
}

// ctrl-Z and a SIGTSTP from outside both hand the terminal back to the
// shell before stopping; `fg` brings the whole screen back.
TEST_F(Interface, SuspendsToTheShellAndComesBackWithFg) {
    for (const bool external : {false, true}) {
        SCOPED_TRACE(external ? "kill -TSTP" : "ctrl-Z");
        t->start();
        ASSERT_TRUE(t->tmux->waitForText("draft.txt")) << t->tmux->capture();
        if (external) {
            ::kill(t->pid(), SIGTSTP);
        } else {
            t->tmux->sendKeys({"C-z"});
        }
        ASSERT_TRUE(t->tmux->waitForDisplay("#{alternate_on}", "0")) << t->tmux->capture();
        ASSERT_TRUE(t->tmux->waitForText("Stopped")) << t->tmux->capture();
        t->tmux->typeLine("stty -g > " + t->home + "/stty.suspended; fg");
        ASSERT_TRUE(t->tmux->waitForDisplay("#{alternate_on}", "1")) << t->tmux->capture();
        ASSERT_TRUE(t->tmux->waitForText("draft.txt")) << t->tmux->capture();
        t->tmux->sendKeys({"C-c"});
        t->expectExitedCleanly();
        std::ifstream suspended(t->home + "/stty.suspended"), before(t->home + "/stty.before");
        std::string a, b;
        std::getline(suspended, a);
        std::getline(before, b);
        EXPECT_EQ(a, b) << "the shell got the terminal back in its own mode";
    }
}

TEST_F(Interface, ResizeRedrawsAndATooSmallWindowGetsTheNotice) {
    t->start();
    ASSERT_TRUE(t->tmux->waitForText("draft.txt")) << t->tmux->capture();
    t->tmux->resize(40, 10);
    ASSERT_TRUE(t->tmux->waitForScreen([](const std::string& s) { return s.find("draft.txt") == std::string::npos; }))
        << t->tmux->capture();
    EXPECT_TRUE(t->tmux->waitForText("50")) << t->tmux->capture();
    t->tmux->resize(120, 35);
    ASSERT_TRUE(t->tmux->waitForText("draft.txt")) << t->tmux->capture();
    t->tmux->sendKeys({"C-c"});
    t->expectExitedCleanly();
}

// The first clock tick comes 30 seconds after the start: once the opening
// loads are done the process must sleep until then.
TEST_F(Interface, NothingWakesTheProcessWhileIdle) {
    const auto started = std::chrono::steady_clock::now();
    t->start();
    ASSERT_TRUE(t->tmux->waitForText("draft.txt")) << t->tmux->capture();
    // Settled: no context switch for two seconds.
    std::int64_t last = -1;
    int quiet = 0;
    while (quiet < 4 && std::chrono::steady_clock::now() - started < 20s) {
        const std::int64_t now = contextSwitches(t->pid());
        quiet = now == last ? quiet + 1 : 0;
        last = now;
        std::this_thread::sleep_for(500ms);
    }
    ASSERT_EQ(quiet, 4) << "still busy 20 seconds after the start";
    const std::int64_t before = contextSwitches(t->pid());
    std::this_thread::sleep_for(5s);
    const std::int64_t after = contextSwitches(t->pid());
    ASSERT_GE(before, 0);
    EXPECT_EQ(after, before);
    t->tmux->sendKeys({"C-c"});
    t->expectExitedCleanly();
}

TEST_F(Interface, GalleryTurnsPagesSwitchesThemeAndHidesTheCaption) {
    t->start({"--gallery"});
    ASSERT_TRUE(t->tmux->waitForText("Gallery 1/10 · Changes")) << t->tmux->capture();
    t->tmux->sendKeys({"Space"});
    ASSERT_TRUE(t->tmux->waitForText("Gallery 2/10")) << t->tmux->capture();
    t->tmux->sendLiteral("hh");
    ASSERT_TRUE(t->tmux->waitForText("Gallery 10/10 · Onboarding")) << t->tmux->capture();
    const auto colours = [&] { return t->tmux->tmux({"capture-pane", "-e", "-p", "-t", "test"}); };
    const std::string dark = colours();
    t->tmux->sendLiteral("t");
    ASSERT_TRUE(t->tmux->waitForScreen([&](const std::string&) { return colours() != dark; })) << colours();
    t->tmux->sendLiteral("i");
    ASSERT_TRUE(t->tmux->waitForScreen(
        [](const std::string& s) { return s.find("Gallery 10/10") == std::string::npos; }))
        << t->tmux->capture();
    // Clicks and plain "c" do nothing; ctrl-C leaves.
    t->tmux->sendBytes("\x1b[<0;5;5M\x1b[<0;5;5m");
    t->tmux->sendLiteral("c");
    t->tmux->sendKeys({"C-c"});
    t->expectExitedCleanly();
}

}  // namespace
}  // namespace tarv::app
